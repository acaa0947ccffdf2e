# The release: one zip of the two plug-ins with their install notes and checksums, made by the
# "package" target. The name carries the project version and win32 or win64.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_platform win64)
else()
  set(_platform win32)
endif()

install(FILES $<TARGET_FILE:orvane> $<TARGET_FILE:quibbix> ${PROJECT_SOURCE_DIR}/docs/INSTALL.txt DESTINATION .)
# Sums of exactly what goes into the zip, with names relative to it for sha256sum -c; every
# file gets one time stamp, so that the zip too comes out the same from the same commit.
install(CODE [[
  set(_dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  set(_sums "")
  foreach(_file orvane.dll quibbix.dll INSTALL.txt)
    file(SHA256 "${_dir}/${_file}" _hash)
    string(APPEND _sums "${_hash}  ${_file}\n")
  endforeach()
  file(WRITE "${_dir}/SHA256SUMS" "${_sums}")
  execute_process(COMMAND touch -d @315532800 orvane.dll quibbix.dll INSTALL.txt SHA256SUMS
    WORKING_DIRECTORY "${_dir}" COMMAND_ERROR_IS_FATAL ANY)
]])

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME zorv-plugins)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME zorv-plugins-${PROJECT_VERSION}-${_platform})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
include(CPack)
