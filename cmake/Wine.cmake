# The Wine environment in which this build folder's programs run: tests, the demo and the
# benchmark. The scripts take it from the wine-env.sh written here, so it is set in one place.
# The loader itself rather than Debian's wine wrapper, which takes the 32-bit one whenever
# wine32 is installed.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ZORV_WINE_LOADER /usr/lib/wine/wine64)
  set(ZORV_WINE_ARCH win64)
else()
  set(ZORV_WINE_LOADER /usr/lib/wine/wine)
  set(ZORV_WINE_ARCH win32)
endif()
set(ZORV_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# No Mono or Gecko (there is no network to fetch them), and no debug chatter in test output.
set(ZORV_WINE_ENV
  WINEPREFIX=${ZORV_WINE_PREFIX}
  WINEARCH=${ZORV_WINE_ARCH}
  WINEDEBUG=-all
  WINEDLLOVERRIDES=mscoree,mshtml=)

set(_script "# Written by CMake (cmake/Wine.cmake) for this build folder; source it.\n")
foreach(_setting IN LISTS ZORV_WINE_ENV)
  string(FIND "${_setting}" "=" _at)
  string(SUBSTRING "${_setting}" 0 ${_at} _name)
  math(EXPR _at "${_at} + 1")
  string(SUBSTRING "${_setting}" ${_at} -1 _value)
  string(APPEND _script "export ${_name}='${_value}'\n")
endforeach()
string(APPEND _script "export WINE='${ZORV_WINE_LOADER}'\n")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/wine-env.sh CONTENT "${_script}")
