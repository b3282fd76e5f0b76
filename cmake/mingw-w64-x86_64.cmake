# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (package g++-mingw-w64-x86-64).
# The POSIX thread model is needed for std::thread and std::mutex. By default libgcc and libstdc++
# are linked statically, so that the programs run on Windows (and under Wine) without extra DLLs.
# With VAULTWING_MINGW_SHARED_RUNTIME (the Qt build, preset mingw-gui) they use the shared runtime
# DLLs, as Qt's own DLLs do: one C++ runtime in the process, so no exception or allocation crosses
# two copies. The DLLs then lie beside the programs (VAULTWING_MINGW_RUNTIME_DLLS names them).
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

if(VAULTWING_MINGW_SHARED_RUNTIME)
    set(VAULTWING_MINGW_RUNTIME_DLLS)
    foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                        OUTPUT_VARIABLE dll_path OUTPUT_STRIP_TRAILING_WHITESPACE)
        file(REAL_PATH ${dll_path} dll_path)
        list(APPEND VAULTWING_MINGW_RUNTIME_DLLS ${dll_path})
    endforeach()
else()
    set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()

# Tests run the .exe files through Wine when it is there.
find_program(VAULTWING_WINE NAMES wine64 wine)
if(VAULTWING_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VAULTWING_WINE})
endif()
