#include "CurrentWorld.h"

#include <cstring>

#include "CString.h"
#include "FileFind.h"
#include "Handles.h"
#include "HostSettings.h"
#include "Registry.h"
#include "TableLock.h"
#include "Trace.h"

namespace {
const DWORD kWorldBufferSize = 260;
// The host's own limit for the name it stores.
const DWORD kCurrMovieLimit = 128;
// The registry's longest value name. A longer one can reach it cut short, naming another value.
const size_t kValueNameLimit = 16383;

void traceWith(const char* format, const char* text) {
    CString line;
    line.Format(format, text);
    traceMessage(line);
}

CString moviePath(const CString& installDir, const char* world) {
    CString path;
    path.Format("%sDesktops\\%s\\%s.dcr", static_cast<const char*>(installDir), world, world);
    return path;
}

// Picks the first world folder, in the file system's order, that holds its movie, and stores
// the pick in CurrMovie. False when nothing is left to trace as the result.
bool searchForWorld(HKEY host, const CString& installDir, char* world) {
    traceMessage("getCurrentWorld searching for valid ZORV world");
    CString pattern = installDir;
    pattern += "Desktops\\dZORV_*";
    CFileFind finder;
    bool more = finder.FindFile(pattern);
    world[0] = 0;
    if (!more) {
        showErrorBox(kNoWorldsBox);
        traceMessage("ERROR No ZORV Worlds are installed");
        return false;
    }
    while (more) {
        more = finder.FindNextFile();
        if (!finder.IsDirectory() || finder.IsDots() || !finder.HasExactName()) continue;
        strncpy(world, finder.GetFileName(), kWorldBufferSize - 1);
        world[kWorldBufferSize - 1] = 0;
        if (pathExists(moviePath(installDir, world))) break;
    }
    finder.Close();
    const DWORD size = static_cast<DWORD>(strlen(world) + 1);
    if (RegSetValueExA(host, "CurrMovie", 0, REG_SZ, reinterpret_cast<const BYTE*>(world), size) != ERROR_SUCCESS) {
        traceMessage("ERROR could not save CurrMovie to registry!");
        return false;
    }
    traceWith("getCurrentWorld set default world %s", world);
    return true;
}

// False when the host's settings could not be read and the buffer was left as it was.
bool resolveCurrentWorld(char* world) {
    CString installDir;
    if (!getInstallDir(installDir)) {
        traceMessage("ERROR could not get ZORV install dir from registry!");
        return false;
    }
    // A user who may not write the host key still reads it; the repair is then not stored.
    RegKey host = openHostKey(KEY_QUERY_VALUE | KEY_SET_VALUE, KEY_QUERY_VALUE);
    if (!host) {
        // The caller's buffer may hold anything: never read past it.
        traceWith("getCurrentWorld returning %.259s", world);
        return false;
    }
    // The name ends at its first zero, whatever a host's fixed buffer left after it.
    const bool stored = readText(host.get(), "CurrMovie", world, kCurrMovieLimit) == ERROR_SUCCESS;
    if (!stored) {
        world[0] = 0;
        traceMessage("WARNING could not read current world from Registry!");
    }
    const CString movie = moviePath(installDir, world);
    const bool installed = pathExists(movie);
    if (!installed) {
        traceWith("ERROR could not find world %s", movie);
        traceMessage("Will search for world");
    }
    if ((!stored || !installed) && !searchForWorld(host.get(), installDir, world)) return true;
    host.reset();
    traceWith("getCurrentWorld returning %s", world);
    return true;
}
}  // namespace

void getCurrentWorld(char* world) {
    if (world) resolveCurrentWorld(world);
}

RegKey openWorldKey(REGSAM rights, bool* refused) {
    if (refused) *refused = false;
    // The host key is opened three times, each afresh: here, by getInstallDir and by
    // getCurrentWorld. Each of those also runs on its own and traces its own failure, so none
    // borrows a key another holds. This one only leads to the world's: opening a subkey takes no
    // right of its parent's.
    RegKey host = openHostKey(KEY_QUERY_VALUE);
    if (!host) return RegKey();
    // Unresolved, the buffer's empty name would open the host key itself, for a world that
    // may well be installed.
    char world[kWorldBufferSize] = {};
    if (!resolveCurrentWorld(world)) return RegKey();
    // With no world installed the name is empty and opens the host key itself: the values are
    // then kept there, as the host has them.
    return openKey(host.get(), world, rights, "ERROR Unable to open ZORV world key!", 0, refused);
}

bool readWorldValue(const char* name, char* buffer, DWORD size) {
    if (!name || !buffer || size == 0) return false;
    memset(buffer, 0, size);
    if (strlen(name) > kValueNameLimit) return true;  // no value can have such a name
    RegKey key = openWorldKey(KEY_QUERY_VALUE);
    if (!key) return false;
    const LONG result = readText(key.get(), name, buffer, size);
    if (result != ERROR_SUCCESS) memset(buffer, 0, size);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

WriteResult writeWorldValue(const char* name, const char* text) {
    if (!name || !text) return kNotWritten;
    bool refused = false;
    RegKey key = openWorldKey(KEY_SET_VALUE, &refused);
    if (!key && !refused) return kNotWritten;
    const DWORD length = static_cast<DWORD>(strlen(text));
    if (key && strlen(name) <= kValueNameLimit &&
        RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), length) == ERROR_SUCCESS)
        return kWritten;
    showErrorBox(kNotSavedBox);
    return refused ? kKeyRefused : kNotWritten;
}
