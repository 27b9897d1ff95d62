# Cross-build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
# The POSIX thread flavour gives std::thread and std::mutex; the runtime is linked statically
# so the executables start without the compiler's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TWK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TWK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TWK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TWK_MINGW_PREFIX}-windres)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Libraries and headers come from the mingw tree and from extra prefixes (e.g. a GoogleTest
# built with this file) given in CMAKE_PREFIX_PATH; programs come from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TWK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
