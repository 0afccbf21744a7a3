# The product: 32-bit Windows programs.
set(SKYLINER_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
