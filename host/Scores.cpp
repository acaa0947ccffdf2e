// Before any C++ header, which would swap msvcrt's printf family for the compiler runtime's.
#include <stdio.h>

#include "Scores.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "Games.h"
#include "Handles.h"
#include "PluginContract.h"

namespace {
bool startsWith(const char* text, const char* prefix) { return _strnicmp(text, prefix, strlen(prefix)) == 0; }

bool endsWith(const char* text, size_t length, const char* suffix) {
    const size_t suffixLength = strlen(suffix);
    return length >= suffixLength && _stricmp(text + length - suffixLength, suffix) == 0;
}

// Splits "<game><mode><field><rank>" when it is a hall-of-fame value name.
bool parseValueName(const char* name, std::string& game, std::string& mode) {
    for (const Game* candidate : kGames) {
        const char* prefix = candidate->name;
        if (!startsWith(name, prefix)) continue;
        const size_t length = strlen(name);
        for (const char* field : kScoreFields) {
            for (char rank = '1'; rank < '1' + kScoreRanks; ++rank) {
                const std::string suffix = std::string(field) + rank;
                if (!endsWith(name, length, suffix.c_str()) || length < strlen(prefix) + suffix.size()) continue;
                game = prefix;
                mode.assign(name + strlen(prefix), length - strlen(prefix) - suffix.size());
                return true;
            }
        }
    }
    return false;
}

StoredText readText(HKEY key, const std::string& name) {
    StoredText stored;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return stored;
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return stored;
    stored.exists = true;
    stored.text.assign(data.data(), strnlen(data.data(), size));
    return stored;
}

// Quoted so that empty texts and blanks show; quotes, backslashes and control bytes escaped.
std::string quoted(const StoredText& cell) {
    if (!cell.exists) return "-";
    std::string out = "\"";
    for (unsigned char c : cell.text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7f) {
            char escape[8];
            snprintf(escape, sizeof escape, "\\x%02x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string padded(const std::string& text, size_t width) {
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

// As the host plays them.
size_t gameOrder(const std::string& game) {
    size_t order = 0;
    while (order < std::size(kGames) && game != kGames[order]->name) ++order;
    return order;
}
}  // namespace

WorldScores readWorldScores() {
    WorldScores scores;
    RegKey host;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHostKeyPath, 0, KEY_READ, host.receive()) != ERROR_SUCCESS) return scores;
    const StoredText world = readText(host.get(), "CurrMovie");
    if (!world.exists) {
        scores.status = WorldScores::kNoCurrentWorld;
        return scores;
    }
    scores.world = world.text;
    RegKey key;
    if (RegOpenKeyExA(host.get(), scores.world.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS) {
        scores.status = WorldScores::kNoWorldKey;
        return scores;
    }
    scores.status = WorldScores::kRead;

    char name[16384];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        if (RegEnumValueA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        std::string game, mode;
        if (!parseValueName(name, game, mode)) continue;
        // One table whatever the letter case; the spelling shown does not hang on value order.
        auto known = std::find_if(scores.tables.begin(), scores.tables.end(), [&](const StoredTable& table) {
            return table.game == game && _stricmp(table.mode.c_str(), mode.c_str()) == 0;
        });
        if (known != scores.tables.end()) {
            known->mode = std::min(known->mode, mode);
            continue;
        }
        StoredTable table;
        table.game = game;
        table.mode = mode;
        scores.tables.push_back(table);
    }
    for (StoredTable& table : scores.tables)
        for (int rank = 0; rank < kScoreRanks; ++rank)
            for (int field = 0; field < 3; ++field)
                table.cells[rank][field] = readText(
                    key.get(), scoreValueName<std::string>(table.game.c_str(), table.mode.c_str(), field, rank));
    std::sort(scores.tables.begin(), scores.tables.end(), [](const StoredTable& a, const StoredTable& b) {
        if (a.game != b.game) return gameOrder(a.game) < gameOrder(b.game);
        return _stricmp(a.mode.c_str(), b.mode.c_str()) < 0;
    });
    return scores;
}

std::string formatScores(const WorldScores& scores) {
    switch (scores.status) {
        case WorldScores::kNotInstalled:
            return "Zorv is not installed: there is no key HKEY_LOCAL_MACHINE\\SOFTWARE\\ZORV.\n";
        case WorldScores::kNoCurrentWorld:
            return "There is no current world: CurrMovie is not set.\n";
        case WorldScores::kNoWorldKey:
            return "Current world: " + scores.world + "\nIts key HKEY_LOCAL_MACHINE\\SOFTWARE\\ZORV\\" + scores.world +
                   " does not exist.\n";
        case WorldScores::kRead:
            break;
    }
    std::string out =
        "Current world: " +
        (scores.world.empty() ? std::string("(CurrMovie is empty: values under the host key)") : scores.world) + "\n";
    if (scores.tables.empty()) return out + "\nNo hall of fame is stored in this world.\n";
    for (const StoredTable& table : scores.tables) {
        out += "\n" + table.game + ", mode \"" + table.mode + "\"\n";
        std::string cells[3][3];
        size_t widths[3] = {4, 5, 5};
        for (int rank = 0; rank < 3; ++rank)
            for (int field = 0; field < 3; ++field) {
                cells[rank][field] = quoted(table.cells[rank][field]);
                widths[field] = std::max(widths[field], cells[rank][field].size());
            }
        out += "  Rank  " + padded("Name", widths[0]) + "  " + padded("Level", widths[1]) + "  Score\n";
        for (int rank = 0; rank < 3; ++rank)
            out += "  " + std::to_string(rank + 1) + "     " + padded(cells[rank][0], widths[0]) + "  " +
                   padded(cells[rank][1], widths[1]) + "  " + cells[rank][2] + "\n";
    }
    return out;
}

int printScores() {
    const WorldScores scores = readWorldScores();
    fputs(formatScores(scores).c_str(), stdout);
    fflush(stdout);
    return scores.status == WorldScores::kRead ? 0 : 1;
}
