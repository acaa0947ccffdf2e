#include "CString.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
char emptyText[1] = {0};
}

CString::CString() : data_(emptyText), length_(0), capacity_(0) {}

CString::CString(const char* text) : CString() { *this = text; }

CString::CString(const CString& other) : CString() { assign(other.data_, other.length_); }

CString::~CString() {
    if (data_ != emptyText) free(data_);
}

CString& CString::operator=(const char* text) {
    assign(text, text ? static_cast<int>(strlen(text)) : 0);
    return *this;
}

CString& CString::operator=(const CString& other) {
    if (this != &other) assign(other.data_, other.length_);
    return *this;
}

CString& CString::operator+=(const char* text) {
    const int extra = text ? static_cast<int>(strlen(text)) : 0;
    if (extra && reserve(length_ + extra)) {
        memmove(data_ + length_, text, extra);
        length_ += extra;
        data_[length_] = 0;
    }
    return *this;
}

void CString::Empty() { assign("", 0); }

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list probe;
    va_copy(probe, args);
    const int needed = vsnprintf(nullptr, 0, format, probe);
    va_end(probe);
    if (needed >= 0 && reserve(needed)) {
        vsnprintf(data_, needed + 1, format, args);
        length_ = needed;
    }
    va_end(args);
}

char* CString::GetBuffer(int minLength) {
    if (!reserve(minLength < length_ ? length_ : minLength)) return nullptr;
    return data_;
}

void CString::ReleaseBuffer() {
    if (data_ == emptyText) return;
    data_[capacity_] = 0;
    length_ = static_cast<int>(strlen(data_));
}

// Grows the storage to hold capacity characters and a terminator; false when memory is short.
bool CString::reserve(int capacity) {
    if (capacity <= capacity_ && data_ != emptyText) return true;
    if (capacity == 0 && data_ == emptyText) return true;
    char* grown = static_cast<char*>(realloc(data_ == emptyText ? nullptr : data_, capacity + 1));
    if (!grown) return false;
    if (data_ == emptyText) grown[0] = 0;
    data_ = grown;
    capacity_ = capacity;
    return true;
}

void CString::assign(const char* text, int length) {
    if (length == 0) {
        length_ = 0;
        if (data_ != emptyText) data_[0] = 0;
        return;
    }
    if (!reserve(length)) return;
    memmove(data_, text, length);
    data_[length] = 0;
    length_ = length;
}
