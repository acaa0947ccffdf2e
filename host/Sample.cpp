#include "Sample.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "Handles.h"
#include "PluginContract.h"

const char kSampleWorld[] = "dZORV_Aurora";
const char kSampleOtherWorld[] = "dZORV_Harbor";
const char* const kSampleLevelFolders[3] = {"Neon Grid", "Brick Garden", "Moon Maze"};

namespace {
// Some earlier games, so that a new result has places to move: name, level and score of a rank.
const struct {
    const char* world;
    const char* game;
    const char* mode;
    int rank;
    const char* texts[3];
} kEarlierGames[] = {
    {kSampleWorld, "Orvane", "default", 0, {"NOVA", "6", "9000"}},
    {kSampleWorld, "Orvane", "default", 1, {"ZED", "2", "1200"}},
    {kSampleWorld, "Quibbix", "random", 0, {"BOUNCE", "4", "3000"}},
    {kSampleOtherWorld, "Orvane", "default", 0, {"REEF", "3", "2500"}},
};

bool makeFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool writeFile(const std::string& path, const char* content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, content, static_cast<DWORD>(strlen(content)), &written, nullptr);
    CloseHandle(file);
    return ok && written == strlen(content);
}

bool makeFiles(std::string base) {
    // The last character, not byte: a two-byte character may end in 0x5C.
    if (base.empty() || *CharPrevA(base.c_str(), base.c_str() + base.size()) != '\\') base += '\\';
    bool ok = makeFolder(base) && makeFolder(base + "Desktops") && makeFolder(base + "games") &&
              makeFolder(base + "games\\quibbix");
    for (const char* world : {kSampleWorld, kSampleOtherWorld}) {
        const std::string folder = base + "Desktops\\" + world;
        ok = ok && makeFolder(folder) && writeFile(folder + "\\" + world + ".dcr", "sample world movie\r\n");
    }
    for (const char* levels : kSampleLevelFolders) ok = ok && makeFolder(base + "games\\quibbix\\" + levels);
    // A plain file beside the level folders, which the level list leaves out.
    return ok && writeFile(base + "games\\quibbix\\readme.txt", "Each folder here is a custom level set.\r\n");
}

bool setString(HKEY key, const char* name, const char* text, bool withTerminator) {
    const DWORD size = static_cast<DWORD>(strlen(text) + (withTerminator ? 1 : 0));
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) == ERROR_SUCCESS;
}

bool makeKeys(const char* directory) {
    RegKey host;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kHostKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, host.receive(),
                        nullptr) != ERROR_SUCCESS)
        return false;
    bool ok =
        setString(host.get(), "MainDir", directory, true) && setString(host.get(), "CurrMovie", kSampleWorld, true);
    for (const char* world : {kSampleWorld, kSampleOtherWorld}) {
        RegKey key;
        ok = ok && RegCreateKeyExA(host.get(), world, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.receive(), nullptr) ==
                       ERROR_SUCCESS;
        // The plug-ins store their texts without terminator; so does the sample.
        for (const auto& result : kEarlierGames)
            for (int field = 0; field < 3 && ok && strcmp(result.world, world) == 0; ++field)
                ok = setString(key.get(),
                               scoreValueName<std::string>(result.game, result.mode, field, result.rank).c_str(),
                               result.texts[field], false);
    }
    // The slow-system notice was already dismissed in the second world.
    RegKey other;
    const DWORD noShow = 1;
    return ok && RegOpenKeyExA(host.get(), kSampleOtherWorld, 0, KEY_ALL_ACCESS, other.receive()) == ERROR_SUCCESS &&
           RegSetValueExA(other.get(), "NoShowOrvaneInfoDlg", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&noShow),
                          sizeof noShow) == ERROR_SUCCESS;
}
}  // namespace

SampleSetup setupSample(const char* directory) {
    RegKey existing;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHostKeyPath, 0, KEY_READ, existing.receive()) == ERROR_SUCCESS)
        return SampleSetup::kAlreadyInstalled;
    return makeFiles(directory) && makeKeys(directory) ? SampleSetup::kCreated : SampleSetup::kFailed;
}
