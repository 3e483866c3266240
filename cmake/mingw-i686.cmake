# Cross-compiling for 32-bit Windows with Debian's mingw-w64 (i686): what users install.
#   cmake -S cmake/windows -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake ...
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
