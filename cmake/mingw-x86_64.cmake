# 64-bit Windows programs, for running the Wine tests where 32-bit programs cannot run.
set(SKYLINER_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
