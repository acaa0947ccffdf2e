// Where the host keeps its settings and every world's values, under HKEY_LOCAL_MACHINE.
#pragma once

inline constexpr char kHostKeyPath[] = "SOFTWARE\\ZORV";
