# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (x86_64): the test flavour of
# the Windows build for machines that cannot run 32-bit programs (scripts/test-windows.sh).
#   cmake -S cmake/windows -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TARN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARN_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${TARN_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${TARN_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TARN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
