// Before any C++ header, which would swap msvcrt's printf family for the compiler runtime's.
#include <stdio.h>

#include "CString.h"

#include <cstdarg>
#include <cstdint>
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
    if (extra && reserve(length_ + extra, &text)) {
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
    // Formatted beside the old text, which an argument may point into, and only then put in its place.
    char* formatted = needed >= 0 ? static_cast<char*>(malloc(needed + 1)) : nullptr;
    if (formatted) {
        vsnprintf(formatted, needed + 1, format, args);
        if (data_ != emptyText) free(data_);
        data_ = formatted;
        length_ = capacity_ = needed;
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

// Grows the storage to hold capacity characters and a terminator, always storage of its own
// (the shared empty text is never handed out); false when memory is short. A text that lay in
// the old storage is followed to where the storage went.
bool CString::reserve(int capacity, const char** text) {
    if (capacity <= capacity_ && data_ != emptyText) return true;
    const uintptr_t start = reinterpret_cast<uintptr_t>(data_);
    const uintptr_t at = text ? reinterpret_cast<uintptr_t>(*text) : 0;
    const bool inside = data_ != emptyText && at >= start && at <= start + capacity_;
    const size_t offset = inside ? at - start : 0;
    char* grown = static_cast<char*>(realloc(data_ == emptyText ? nullptr : data_, capacity + 1));
    if (!grown) return false;
    if (data_ == emptyText) grown[0] = 0;
    data_ = grown;
    capacity_ = capacity;
    if (inside) *text = data_ + offset;
    return true;
}

void CString::assign(const char* text, int length) {
    if (length == 0) {
        length_ = 0;
        if (data_ != emptyText) data_[0] = 0;
        return;
    }
    if (!reserve(length, &text)) return;
    memmove(data_, text, length);
    data_[length] = 0;
    length_ = length;
}
