# The games, a folder each, in the order the host plays them. A new game is its folder and its name
# here: the build, the package, the checks of the built DLLs, the host, the tests and the benchmark
# take the games from this list.
set(ZORV_GAMES orvane quibbix)

# For C++, Games.h: each game's description, as "orvane/Orvane.h" gives kOrvane, and the list.
set(_includes "")
set(_games "")
foreach(game ${ZORV_GAMES})
  string(SUBSTRING ${game} 0 1 _first)
  string(TOUPPER ${_first} _first)
  string(SUBSTRING ${game} 1 -1 _rest)
  string(APPEND _includes "#include \"${game}/${_first}${_rest}.h\"\n")
  string(APPEND _games "&k${_first}${_rest}, ")
endforeach()
file(CONFIGURE OUTPUT ${ZORV_GENERATED_DIR}/Games.h CONTENT
"// Written by CMake from ZORV_GAMES (cmake/Games.cmake): every game, in the order the host plays them.
#pragma once

${_includes}
inline constexpr const Game* kGames[] = {${_games}};
")
add_library(games INTERFACE)
target_include_directories(games INTERFACE ${PROJECT_SOURCE_DIR} ${ZORV_GENERATED_DIR})
target_link_libraries(games INTERFACE contract)
