// The host's registry key and a way to set it aside while the walk-through plays in a
// fresh installation of its own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Handles.h"

// Under HKEY_LOCAL_MACHINE.
extern const char kHostKeyPath[];

// A key with all its values and subkeys, held in memory.
struct RegistryTree {
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::string name;
    std::vector<Value> values;
    std::vector<RegistryTree> subkeys;
};

// Takes the host key away on construction and puts back exactly what was there on destruction.
class HostKeySetAside {
public:
    HostKeySetAside();
    ~HostKeySetAside();
    HostKeySetAside(const HostKeySetAside&) = delete;
    HostKeySetAside& operator=(const HostKeySetAside&) = delete;

    // False when the key could not be read or removed; nothing was changed then.
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
    bool existed_ = false;
    bool savedOk_ = false;
    RegistryTree saved_;
};

bool deleteHostKey();
