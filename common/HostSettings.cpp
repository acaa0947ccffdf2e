#include "HostSettings.h"

#include <cstring>

#include "Handles.h"
#include "PluginContract.h"
#include "Registry.h"
#include "Trace.h"

namespace {
// One byte short of the buffer, so that a backslash still fits after the longest text.
const DWORD kMainDirLimit = 259;
}  // namespace

RegKey openHostKey(REGSAM rights, REGSAM fallback) {
    return openKey(HKEY_LOCAL_MACHINE, kHostKeyPath, rights, "ERROR Unable to read ZORV install key!", fallback);
}

bool getInstallDir(char* directory) {
    RegKey host = openHostKey(KEY_QUERY_VALUE);
    if (!host) {
        traceMessage("ERROR could not get open zorv install key!");
        return false;
    }
    // An empty text names no directory.
    if (readText(host.get(), "MainDir", directory, kMainDirLimit) != ERROR_SUCCESS || directory[0] == 0) {
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
