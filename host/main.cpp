// zorvhost: a stand-in for the Zorv host in which the game plug-ins can be tried.

// Before any C++ header, which would swap msvcrt's printf family for the compiler runtime's.
#include <stdio.h>

#include <cstring>
#include <iterator>

#include "GameWindow.h"
#include "Games.h"
#include "Journal.h"
#include "Sample.h"
#include "Scores.h"

namespace {
const char kUsage[] =
    "usage: zorvhost [GAME...]               play the games in turn (every game when none is given);\n"
    "                                        GAME is a plug-in's name or the path of its DLL\n"
    "       zorvhost scores                  print every hall of fame of the current world\n"
    "       zorvhost --setup-sample [DIR]    install a sample host in DIR (C:\\Zorv) unless one is installed\n";

int setupSampleCommand(const char* directory) {
    switch (setupSample(directory)) {
        case SampleSetup::kCreated:
            printf("Sample installation created in %s.\n", directory);
            return 0;
        case SampleSetup::kAlreadyInstalled:
            printf("A host is already installed (HKEY_LOCAL_MACHINE\\SOFTWARE\\ZORV exists); nothing changed.\n");
            return 0;
        case SampleSetup::kFailed:
            break;
    }
    fprintf(stderr, "Could not create the sample installation in %s; what was made of it is left, registry included.\n",
            directory);
    return 1;
}
}  // namespace

int main(int argc, char** argv) {
    const char* command = argc > 1 ? argv[1] : "";
    const char* argument = argc > 2 ? argv[2] : nullptr;
    if (strcmp(command, "scores") == 0 && argc == 2) return printScores();
    if (strcmp(command, "--setup-sample") == 0 && argc <= 3)
        return setupSampleCommand(argument ? argument : "C:\\Zorv");
    if (command[0] == '-' || strcmp(command, "scores") == 0) {
        fputs(kUsage, strcmp(command, "--help") == 0 ? stdout : stderr);
        return strcmp(command, "--help") == 0 ? 0 : 2;
    }

    const char* every[std::size(kGames)];
    for (size_t i = 0; i < std::size(kGames); ++i) every[i] = kGames[i]->dll;
    Journal journal;
    if (argc > 1) return playGames(argv + 1, argc - 1, journal);
    return playGames(every, static_cast<int>(std::size(kGames)), journal);
}
