// Both games played by script in a fresh sample installation, every step checked.
#pragma once

// Pictures of every dialog go to shotsDirectory as numbered BMP files when it is given.
// The exit code: 0 when everything happened as it should.
int runWalkthrough(const char* shotsDirectory);
