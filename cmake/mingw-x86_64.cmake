# Cross-compile for 64-bit Windows: the same sources as the i686 deliverable, for machines that
# cannot run 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
