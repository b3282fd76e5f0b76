# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (package g++-mingw-w64-x86-64).
# The POSIX thread model is needed for std::thread and std::mutex; libgcc and libstdc++ are
# linked statically so that the programs run on Windows (and under Wine) without extra DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VAULTWING_MINGW_TRIPLET x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${VAULTWING_MINGW_TRIPLET}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VAULTWING_MINGW_TRIPLET}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VAULTWING_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VAULTWING_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run the .exe files through Wine when it is there.
find_program(VAULTWING_WINE NAMES wine64 wine)
if(VAULTWING_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VAULTWING_WINE})
endif()
