# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (x86_64): the test flavour of
# the Windows build for machines that cannot run 32-bit programs (scripts/test-windows.sh).
#   cmake -S cmake/windows -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake ...
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
