// The host's registry key, HKLM\SOFTWARE\ZORV, made private to one test.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

// Saves the whole HKLM\SOFTWARE\ZORV tree in memory and deletes it; on destruction deletes
// whatever is there and restores the saved tree.
class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    struct Tree;

private:
    std::unique_ptr<Tree> saved_;
};

// Subkeys are relative to HKLM\SOFTWARE\ZORV; "" is the host key itself. Keys are created as needed.
namespace reg {
bool createKey(const char* subkey);
bool deleteTree(const char* subkey);
// Stored exactly as given: without terminator means no terminator, whatever follows the text.
bool setString(const char* subkey, const char* name, const char* text, DWORD type = REG_SZ, bool withTerminator = true);
bool setBytes(const char* subkey, const char* name, DWORD type, const void* data, DWORD size);
bool setDword(const char* subkey, const char* name, DWORD value);
bool remove(const char* subkey, const char* name);

struct Value {
    bool exists;
    DWORD type;
    std::string data;  // raw bytes as stored
};
Value get(const char* subkey, const char* name);
// The data up to its first zero byte; "" when missing.
std::string text(const char* subkey, const char* name);
// Every key and value under the host key, types and bytes included; "(no key)" without it.
std::string dump();
}  // namespace reg
