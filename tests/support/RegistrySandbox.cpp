#include "RegistrySandbox.h"

#include <cstring>
#include <utility>
#include <vector>

#include "Handles.h"

struct RegistrySandbox::Tree {
    std::vector<std::pair<std::string, reg::Value>> values;
    std::vector<std::pair<std::string, std::unique_ptr<Tree>>> children;
};

namespace {
const char kHostPath[] = "SOFTWARE\\ZORV";

std::string pathOf(const char* subkey) {
    std::string path = kHostPath;
    if (subkey && *subkey) path += std::string("\\") + subkey;
    return path;
}

bool openKey(const char* subkey, RegKey& key) {
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, pathOf(subkey).c_str(), 0, KEY_ALL_ACCESS, key.receive()) == ERROR_SUCCESS;
}

bool createIn(HKEY parent, const char* path, RegKey& key) {
    return RegCreateKeyExA(parent, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.receive(), nullptr) ==
           ERROR_SUCCESS;
}

// The narrow API completes a counted text with the terminator that follows it in memory;
// a spare non-zero byte after the copy keeps the data exactly as given.
bool writeRaw(HKEY key, const char* name, DWORD type, const void* data, DWORD size) {
    std::vector<BYTE> copy(size + 1, 0xbd);
    if (size) memcpy(copy.data(), data, size);
    return RegSetValueExA(key, name, 0, type, copy.data(), size) == ERROR_SUCCESS;
}

void save(HKEY key, RegistrySandbox::Tree& tree) {
    DWORD subkeys = 0, longestName = 0, valueCount = 0, longestValueName = 0, longestData = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &longestName, nullptr, &valueCount,
                         &longestValueName, &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0; i < valueCount; ++i) {
        std::vector<char> name(longestValueName + 2);
        std::vector<BYTE> data(longestData + 1);
        DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueA(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS)
            continue;
        tree.values.push_back({name.data(), {true, type, std::string(reinterpret_cast<char*>(data.data()), dataSize)}});
    }
    for (DWORD i = 0; i < subkeys; ++i) {
        std::vector<char> name(longestName + 2);
        DWORD nameSize = static_cast<DWORD>(name.size());
        if (RegEnumKeyExA(key, i, name.data(), &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        RegKey child;
        if (RegOpenKeyExA(key, name.data(), 0, KEY_READ, child.receive()) != ERROR_SUCCESS) continue;
        std::unique_ptr<RegistrySandbox::Tree> branch(new RegistrySandbox::Tree);
        save(child.get(), *branch);
        tree.children.push_back({name.data(), std::move(branch)});
    }
}

// The host key's tree; null when there is no host key.
std::unique_ptr<RegistrySandbox::Tree> saveHost() {
    RegKey host;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHostPath, 0, KEY_READ, host.receive()) != ERROR_SUCCESS) return nullptr;
    std::unique_ptr<RegistrySandbox::Tree> tree(new RegistrySandbox::Tree);
    save(host.get(), *tree);
    return tree;
}

void flatten(const RegistrySandbox::Tree& tree, const std::string& path, std::string& out) {
    for (const auto& value : tree.values)
        out += path + "|" + value.first + "|" + std::to_string(value.second.type) + "|" + value.second.data + "\n";
    for (const auto& child : tree.children) flatten(*child.second, path + "\\" + child.first, out);
}

void restore(HKEY key, const RegistrySandbox::Tree& tree) {
    for (const auto& value : tree.values)
        writeRaw(key, value.first.c_str(), value.second.type, value.second.data.data(),
                 static_cast<DWORD>(value.second.data.size()));
    for (const auto& child : tree.children) {
        RegKey branch;
        if (createIn(key, child.first.c_str(), branch)) restore(branch.get(), *child.second);
    }
}
}  // namespace

RegistrySandbox::RegistrySandbox() : saved_(saveHost()) { reg::deleteTree(""); }

RegistrySandbox::~RegistrySandbox() {
    reg::deleteTree("");
    if (!saved_) return;
    RegKey host;
    if (createIn(HKEY_LOCAL_MACHINE, kHostPath, host)) restore(host.get(), *saved_);
}

namespace reg {
bool createKey(const char* subkey) {
    RegKey key;
    return createIn(HKEY_LOCAL_MACHINE, pathOf(subkey).c_str(), key);
}

bool deleteTree(const char* subkey) {
    const LONG result = RegDeleteTreeA(HKEY_LOCAL_MACHINE, pathOf(subkey).c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool setString(const char* subkey, const char* name, const char* text, DWORD type, bool withTerminator) {
    return setBytes(subkey, name, type, text, static_cast<DWORD>(strlen(text) + (withTerminator ? 1 : 0)));
}

bool setBytes(const char* subkey, const char* name, DWORD type, const void* data, DWORD size) {
    RegKey key;
    return createIn(HKEY_LOCAL_MACHINE, pathOf(subkey).c_str(), key) && writeRaw(key.get(), name, type, data, size);
}

bool setDword(const char* subkey, const char* name, DWORD value) {
    return setBytes(subkey, name, REG_DWORD, &value, sizeof value);
}

bool remove(const char* subkey, const char* name) {
    RegKey key;
    return openKey(subkey, key) && RegDeleteValueA(key.get(), name) == ERROR_SUCCESS;
}

Value get(const char* subkey, const char* name) {
    Value value = {false, REG_NONE, std::string()};
    RegKey key;
    DWORD size = 0;
    if (!openKey(subkey, key) ||
        RegQueryValueExA(key.get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return value;
    // Exactly the reported size, so that the narrow API has no room to add a terminator.
    std::vector<BYTE> data(size ? size : 1);
    if (RegQueryValueExA(key.get(), name, nullptr, &value.type, data.data(), &size) != ERROR_SUCCESS) return value;
    value.exists = true;
    value.data.assign(reinterpret_cast<char*>(data.data()), size);
    return value;
}

std::string dump() {
    const std::unique_ptr<RegistrySandbox::Tree> tree = saveHost();
    std::string out = tree ? "" : "(no key)";
    if (tree) flatten(*tree, "", out);
    return out;
}

std::string text(const char* subkey, const char* name) {
    const Value value = get(subkey, name);
    return value.data.substr(0, value.data.find('\0'));
}
}  // namespace reg
