// Bytes that end right at a page nobody may touch, so that a read or write one byte past
// them is caught where it happens. The access is recorded instead of crashing the test: the
// page is opened for the rest of that call and closed again by violations().
#pragma once

#include <cstddef>

class GuardedBuffer {
public:
    // capacity: the largest size place() or fill() will be asked for.
    explicit GuardedBuffer(size_t capacity);
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    // size bytes whose last one lies just before the guard, holding a copy of bytes.
    char* place(const void* bytes, size_t size);
    // size bytes of byte; size 0 gives the guard itself, so any write at all is caught.
    char* fill(size_t size, unsigned char byte);

    // Faults on the guard since the last call; re-arms the guard.
    int violations();

private:
    char* base_ = nullptr;
    char* guard_ = nullptr;
};
