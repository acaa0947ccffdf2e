#include "HostSettings.h"

#include <cstring>

#include "Handles.h"
#include "PluginContract.h"
#include "Trace.h"

namespace {
// One byte short of the buffer, so that a backslash still fits after the longest text.
const DWORD kMainDirLimit = 259;
}  // namespace

RegKey openHostKey() {
    RegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHostKeyPath, 0, KEY_ALL_ACCESS, key.receive()) == ERROR_SUCCESS) return key;
    key.reset();  // the registry may leave a handle even when it fails
    traceMessage("ERROR Unable to read ZORV install key!");
    return key;
}

bool getInstallDir(char* directory) {
    RegKey host = openHostKey();
    if (!host) {
        traceMessage("ERROR could not get open zorv install key!");
        return false;
    }
    DWORD type = 0;
    DWORD size = kMainDirLimit;
    const LONG read =
        RegQueryValueExA(host.get(), "MainDir", nullptr, &type, reinterpret_cast<BYTE*>(directory), &size);
    // Any type is taken as text, up to its first zero; one that fills the limit without a zero has
    // no room left for its terminator and counts as too long, and an empty one names no directory.
    const bool usable = read == ERROR_SUCCESS && (size < kMainDirLimit || memchr(directory, 0, kMainDirLimit));
    if (usable && size < kMainDirLimit) directory[size] = 0;
    if (!usable || directory[0] == 0) {
        traceMessage("Unable to read ZORV installation directory in Server");
        return false;
    }
    host.reset();
    // The last character, not the last byte: in a code page with two-byte characters a trail
    // byte can be 0x5C and look like a backslash.
    const size_t length = strlen(directory);
    if (*CharPrevA(directory, directory + length) != '\\') {
        directory[length] = '\\';
        directory[length + 1] = 0;
    }
    return true;
}

bool getInstallDir(CString& directory) {
    char buffer[260];
    if (!getInstallDir(buffer)) return false;
    directory = buffer;
    return true;
}
