#include "Registry.h"

#include <cstring>

#include "Trace.h"

RegKey openKey(HKEY parent, const char* subkey, REGSAM rights, const char* failure, REGSAM fallback, bool* refused) {
    RegKey key;
    LONG result = RegOpenKeyExA(parent, subkey, 0, rights, key.receive());
    if (result == ERROR_ACCESS_DENIED && fallback) result = RegOpenKeyExA(parent, subkey, 0, fallback, key.receive());
    if (refused) *refused = result == ERROR_ACCESS_DENIED;
    if (result == ERROR_SUCCESS) return key;
    key.reset();  // the registry may leave a handle even when it fails
    traceMessage(failure);
    return key;
}

LONG readText(HKEY key, const char* name, char* buffer, DWORD limit) {
    DWORD type = 0;
    DWORD size = limit;
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (result != ERROR_SUCCESS) return result;
    if (size < limit)
        buffer[size] = 0;
    else if (!memchr(buffer, 0, limit))
        return ERROR_MORE_DATA;
    return ERROR_SUCCESS;
}
