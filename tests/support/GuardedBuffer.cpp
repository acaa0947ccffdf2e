#include "GuardedBuffer.h"

#include <windows.h>

#include <atomic>
#include <cstring>

namespace {
struct Guard {
    std::atomic<char*> page{nullptr};
    std::atomic<int> faults{0};
};
Guard guards[8];
const DWORD pageSize = [] {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    return system.dwPageSize;
}();
PVOID handler = nullptr;

LONG CALLBACK onFault(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    auto* address = reinterpret_cast<char*>(record->ExceptionInformation[1]);
    for (Guard& guard : guards) {
        char* page = guard.page;
        if (!page || address < page || address >= page + pageSize) continue;
        ++guard.faults;
        DWORD old = 0;
        VirtualProtect(page, pageSize, PAGE_READWRITE, &old);
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

Guard* slotOf(char* page) {
    for (Guard& guard : guards)
        if (guard.page == page) return &guard;
    return nullptr;
}
}  // namespace

GuardedBuffer::GuardedBuffer(size_t capacity) {
    if (!handler) handler = AddVectoredExceptionHandler(1, onFault);
    const size_t pages = (capacity + pageSize - 1) / pageSize + 1;
    base_ = static_cast<char*>(VirtualAlloc(nullptr, pages * pageSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!base_) return;
    guard_ = base_ + (pages - 1) * pageSize;
    for (Guard& guard : guards) {
        char* empty = nullptr;
        if (guard.page.compare_exchange_strong(empty, guard_)) break;
    }
    violations();
}

GuardedBuffer::~GuardedBuffer() {
    if (Guard* guard = slotOf(guard_)) guard->page = nullptr;
    if (base_) VirtualFree(base_, 0, MEM_RELEASE);
}

char* GuardedBuffer::place(const void* bytes, size_t size) {
    return size ? static_cast<char*>(memcpy(guard_ - size, bytes, size)) : guard_;
}

char* GuardedBuffer::fill(size_t size, unsigned char byte) {
    return static_cast<char*>(memset(guard_ - size, byte, size));
}

int GuardedBuffer::violations() {
    Guard* guard = slotOf(guard_);
    if (!guard) return -1;
    DWORD old = 0;
    VirtualProtect(guard_, pageSize, PAGE_READWRITE, &old);
    memset(guard_, 0, pageSize);
    VirtualProtect(guard_, pageSize, PAGE_NOACCESS, &old);
    return guard->faults.exchange(0);
}
