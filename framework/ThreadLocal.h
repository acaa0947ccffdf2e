// A value each thread keeps for itself. A host may call from more than one user-interface thread,
// and what a call keeps while it runs (the module in use, held-back boxes) is that thread's.
#pragma once

#include <windows.h>

// A pointer-sized value, null on every thread until it sets one. Made as the library loads.
template <typename Value>
class ThreadLocal {
public:
    ThreadLocal() : slot_(TlsAlloc()) {}
    ~ThreadLocal() {
        if (slot_ != TLS_OUT_OF_INDEXES) TlsFree(slot_);
    }
    ThreadLocal(const ThreadLocal&) = delete;
    ThreadLocal& operator=(const ThreadLocal&) = delete;

    Value get() const { return slot_ == TLS_OUT_OF_INDEXES ? nullptr : static_cast<Value>(TlsGetValue(slot_)); }
    void set(Value value) const {
        if (slot_ != TLS_OUT_OF_INDEXES) TlsSetValue(slot_, value);
    }

private:
    DWORD slot_;
};
