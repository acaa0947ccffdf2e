// Narrow, heap-backed string with the handful of operations the dialogs use.
#pragma once

class CString {
public:
    CString();
    CString(const char* text);
    CString(const CString& other);
    ~CString();

    CString& operator=(const char* text);
    CString& operator=(const CString& other);
    CString& operator+=(const char* text);

    operator const char*() const { return data_; }
    int GetLength() const { return length_; }
    void Empty();

    // printf-style; the text may be of any length, and an argument may be this string's own text.
    void Format(const char* format, ...);

    // Room of its own for at least minLength characters plus a terminator, even when empty;
    // ReleaseBuffer re-measures.
    char* GetBuffer(int minLength);
    void ReleaseBuffer();

private:
    bool reserve(int capacity, const char** text = nullptr);
    void assign(const char* text, int length);

    char* data_;
    int length_;
    int capacity_;
};
