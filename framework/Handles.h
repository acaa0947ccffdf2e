// Owners that close a handle on every way out of a scope, or hand it on to another owner.
#pragma once

#include <windows.h>

template <typename Handle, typename Traits>
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
    explicit operator bool() const { return Traits::valid(handle_); }
    // For out-parameters: closes what is held, then hands out the slot.
    Handle* receive() {
        reset();
        return &handle_;
    }
    Handle release() {
        Handle handle = handle_;
        handle_ = Traits::empty();
        return handle;
    }
    void reset(Handle handle = Traits::empty()) {
        if (Traits::valid(handle_)) Traits::close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::empty();
};

struct RegKeyTraits {
    static HKEY empty() { return nullptr; }
    static bool valid(HKEY key) { return key != nullptr; }
    static void close(HKEY key) { RegCloseKey(key); }
};
using RegKey = ScopedHandle<HKEY, RegKeyTraits>;

struct GdiObjectTraits {
    static HGDIOBJ empty() { return nullptr; }
    static bool valid(HGDIOBJ object) { return object != nullptr; }
    static void close(HGDIOBJ object) { DeleteObject(object); }
};
using GdiObject = ScopedHandle<HGDIOBJ, GdiObjectTraits>;

struct KernelObjectTraits {
    static HANDLE empty() { return nullptr; }
    static bool valid(HANDLE object) { return object != nullptr; }
    static void close(HANDLE object) { CloseHandle(object); }
};
using KernelObject = ScopedHandle<HANDLE, KernelObjectTraits>;

// What the system allocated for the caller with LocalAlloc, such as a converted security descriptor.
struct LocalMemoryTraits {
    static HLOCAL empty() { return nullptr; }
    static bool valid(HLOCAL memory) { return memory != nullptr; }
    static void close(HLOCAL memory) { LocalFree(memory); }
};
using LocalMemory = ScopedHandle<HLOCAL, LocalMemoryTraits>;
