#include "RegistryTree.h"

#include <algorithm>
#include <cstdio>

const char kHostKeyPath[] = "SOFTWARE\\ZORV";

namespace {
bool save(HKEY key, RegistryTree& tree) {
    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0, largestData = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, &longestName,
                         &largestData, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    std::vector<char> name(std::max(longestName, longestSubkey) + 2);
    for (DWORD i = 0; i < values; ++i) {
        RegistryTree::Value value;
        value.data.resize(largestData + 1);
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(value.data.size());
        if (RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &value.type, value.data.data(), &size) !=
            ERROR_SUCCESS)
            return false;
        value.name.assign(name.data(), nameLength);
        value.data.resize(size);
        tree.values.push_back(value);
    }
    for (DWORD i = 0; i < subkeys; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumKeyExA(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return false;
        RegistryTree subtree;
        subtree.name.assign(name.data(), nameLength);
        RegKey subkey;
        if (RegOpenKeyExA(key, subtree.name.c_str(), 0, KEY_READ, subkey.receive()) != ERROR_SUCCESS ||
            !save(subkey.get(), subtree))
            return false;
        tree.subkeys.push_back(subtree);
    }
    return true;
}

bool restore(HKEY parent, const RegistryTree& tree) {
    RegKey key;
    if (RegCreateKeyExA(parent, tree.name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.receive(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool ok = true;
    for (const RegistryTree::Value& value : tree.values)
        ok &= RegSetValueExA(key.get(), value.name.c_str(), 0, value.type, value.data.data(),
                             static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
    for (const RegistryTree& subtree : tree.subkeys) ok &= restore(key.get(), subtree);
    return ok;
}
}  // namespace

bool deleteHostKey() {
    const LSTATUS status = RegDeleteTreeA(HKEY_LOCAL_MACHINE, kHostKeyPath);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

HostKeySetAside::HostKeySetAside() {
    RegKey key;
    const LSTATUS opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHostKeyPath, 0, KEY_READ, key.receive());
    existed_ = opened == ERROR_SUCCESS;
    if (!existed_) {
        ok_ = opened == ERROR_FILE_NOT_FOUND;
        return;
    }
    saved_.name = kHostKeyPath;
    savedOk_ = save(key.get(), saved_);
    key.reset();
    ok_ = savedOk_ && deleteHostKey();
}

HostKeySetAside::~HostKeySetAside() {
    // A half-removed key is put back too.
    if (existed_ ? !savedOk_ : !ok_) return;
    deleteHostKey();
    if (existed_ && !restore(HKEY_LOCAL_MACHINE, saved_))
        fprintf(stderr, "Could not put HKEY_LOCAL_MACHINE\\%s back as it was.\n", kHostKeyPath);
}
