# The one place the version comes from: the project version, shown by the DLLs' version
# resources and carried by the release zip's name.
set(ZORV_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(CONFIGURE OUTPUT ${ZORV_GENERATED_DIR}/PluginVersion.h CONTENT
"// Written by CMake from the project version.
#pragma once
#define ZORV_VERSION_NUMBERS ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0
#define ZORV_VERSION_TEXT \"${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0\"
")
