# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64,
# binutils-mingw-w64-x86-64). The POSIX thread model is used, so that std::thread and friends
# exist; the runtime (libgcc, libstdc++, winpthread) is linked statically into every module, so
# Twinfind.dll, VexLib.dll and twinfind.exe need no other DLL than Windows' own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TWINFIND_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TWINFIND_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TWINFIND_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TWINFIND_MINGW}-windres)

# Libraries and headers come from the mingw-w64 tree only, never from the Linux system; the
# programs run at build time are the build machine's.
set(CMAKE_FIND_ROOT_PATH /usr/${TWINFIND_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Tests and tools of the build run under Wine; ctest asks the test executables for their tests
# when it runs them, inside the Wine prefix the caller set up (never at build time, which
# would make a prefix in the user's home).
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
