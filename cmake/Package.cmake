# The release: one zip of the two plug-ins with their install notes and checksums, made by the
# "package" target. The name carries the project version and win32 or win64. Two builds of one
# commit give the same zip, byte for byte.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_platform win64)
else()
  set(_platform win32)
endif()
set(ZORV_PACKAGE ${CMAKE_BINARY_DIR}/zorv-plugins-${PROJECT_VERSION}-${_platform}.zip)

# A build folder that once packed with CPack keeps its config, which reserves the name.
file(REMOVE ${CMAKE_BINARY_DIR}/CPackConfig.cmake ${CMAKE_BINARY_DIR}/CPackSourceConfig.cmake)
list(TRANSFORM ZORV_GAMES REPLACE ".+" "$<TARGET_FILE:\\0>" OUTPUT_VARIABLE _dlls)
add_custom_target(package
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/pack-zip.sh ${ZORV_PACKAGE} ${_dlls} ${PROJECT_SOURCE_DIR}/docs/INSTALL.txt
  COMMAND ${CMAKE_COMMAND} -E echo "Packed ${ZORV_PACKAGE}"
  DEPENDS ${ZORV_GAMES}
  VERBATIM)
