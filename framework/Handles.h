// Owners that close a handle on every way out of a scope, or hand it on to another owner.
#pragma once

#include <windows.h>

// Closes whatever it holds but the empty handle, null or 0.
template <typename Handle, void (*close)(Handle)>
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    // Moving hands the handle on and leaves the source empty, so one holder closes it.
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    // For out-parameters: closes what is held, then hands out the slot.
    Handle* receive() {
        reset();
        return &handle_;
    }
    Handle release() {
        Handle handle = handle_;
        handle_ = Handle{};
        return handle;
    }
    void reset(Handle handle = Handle{}) {
        if (handle_ != Handle{}) close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Handle{};
};

inline void closeKey(HKEY key) { RegCloseKey(key); }
using RegKey = ScopedHandle<HKEY, closeKey>;

inline void deleteObject(HGDIOBJ object) { DeleteObject(object); }
using GdiObject = ScopedHandle<HGDIOBJ, deleteObject>;

inline void closeObject(HANDLE object) { CloseHandle(object); }
using KernelObject = ScopedHandle<HANDLE, closeObject>;

// What the system allocated for the caller with LocalAlloc, such as a converted security descriptor.
inline void freeLocal(HLOCAL memory) { LocalFree(memory); }
using LocalMemory = ScopedHandle<HLOCAL, freeLocal>;
