// A small installation of the host to try the plug-ins in: two worlds, a few custom level
// folders and the host's registry key.
#pragma once

enum class SampleSetup { kCreated, kAlreadyInstalled, kFailed };

// Installs into directory (absolute) unless HKEY_LOCAL_MACHINE\SOFTWARE\ZORV exists. A failed
// set-up leaves what it made: the host key is the installation's, so the host never deletes it.
SampleSetup setupSample(const char* directory);

// What the sample holds, for those who check what a game leaves in it.
extern const char kSampleWorld[];       // the current world
extern const char kSampleOtherWorld[];  // the second one
extern const char* const kSampleLevelFolders[3];
