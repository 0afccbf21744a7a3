# Cross toolchain for MinGW-w64, linked statically; SKYLINER_MINGW_ARCH is i686 or x86_64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${SKYLINER_MINGW_ARCH})
set(CMAKE_C_COMPILER ${SKYLINER_MINGW_ARCH}-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER ${SKYLINER_MINGW_ARCH}-w64-mingw32-g++)
set(CMAKE_RC_COMPILER ${SKYLINER_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SKYLINER_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# No link time in the PE header: two builds of one commit give the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")
