// What the host and a game plug-in agree on: the entry points, the host's buffers, where the
// host keeps its settings, and how a hall of fame's values are named.
#pragma once

// Exported by undecorated name with these ordinals; the callee removes its arguments. The
// second argument of start and score is the host's and is ignored.
extern "C" {
bool __stdcall fnGameStartDlgzorv(char* startString, int unused);
int __stdcall fnGameScoreDlgzorv(char* scoreString, int unused);
bool __stdcall fnGameStopDlgzorv();
}
using StartEntryPoint = decltype(&fnGameStartDlgzorv);
using ScoreEntryPoint = decltype(&fnGameScoreDlgzorv);
using StopEntryPoint = decltype(&fnGameStopDlgzorv);
enum EntryOrdinal { kScoreOrdinal = 1, kStartOrdinal = 2, kStopOrdinal = 3 };

// The host passes no size with its buffers: no start string is longer than this, terminator
// included, and the host's score string buffer is as large.
constexpr int kHostBufferSize = 260;
// The longest level-set name that fits in "user*%s*%i" with the longest speed, "-1".
constexpr int kMaxSetName = kHostBufferSize - static_cast<int>(sizeof "user**-1");

// Under HKEY_LOCAL_MACHINE; each world's values are in the subkey named after the world.
constexpr char kHostKeyPath[] = "SOFTWARE\\ZORV";

// Window properties by which the plug-ins, each with a dialog framework of its own, know each
// other's dialogs on a thread: on a running dialog, its depth among the thread's running dialogs
// from 1 (the innermost owns what a plug-in shows next there); on a window that the thread's
// outermost dialog disabled, that dialog, which alone enables it again.
constexpr char kDialogProperty[] = "ZorvDialog";
constexpr char kDisabledByProperty[] = "ZorvDisabledBy";

// A process reads, decides and writes a hall of fame holding this mutex, so that two hosts
// finishing together enter both results. One name in the machine-wide namespace, whoever runs the
// process and whichever build of a plug-in it loads.
constexpr char kScoreTableLock[] = "Global\\ZORV.ScoreTables";

// A hall of fame is nine values named game prefix, mode as played, field and rank run
// together, as "OrvanedefaultName1"; the store matches the names without regard to case.
constexpr const char* kScoreFields[] = {"Name", "Level", "Score"};
constexpr int kScoreRanks = 3;
constexpr int kScoreValues = kScoreRanks * static_cast<int>(sizeof kScoreFields / sizeof *kScoreFields);

// The value name of one stored text: game prefix, mode as given, field (an index into
// kScoreFields) and rank from 0, in the text type of the caller.
template <typename Text>
Text scoreValueName(const char* game, const char* mode, int field, int rank) {
    const char number[] = {static_cast<char>('1' + rank), 0};
    Text name(game);
    name += mode;
    name += kScoreFields[field];
    name += number;
    return name;
}
