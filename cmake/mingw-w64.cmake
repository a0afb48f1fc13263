# Cross-compiling Quorvel for 64-bit Windows with Debian's mingw-w64 (posix
# thread model, so that std::thread and friends work as on Linux).
#
# Pass the Windows prefix (Qt, QScintilla, libintl, GoogleTest) with
# -DCMAKE_FIND_ROOT_PATH=<prefix> and the host Qt with -DQT_HOST_PATH=/usr:
# packages, libraries and headers are then searched in the prefix and the
# mingw sysroot only, never among the build machine's own; programs (moc,
# msgfmt, wine) come from the build machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUORVEL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORVEL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVEL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORVEL_MINGW_TRIPLET}-windres)
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${QUORVEL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine on the build machine.
find_program(QUORVEL_WINE NAMES wine wine64)
if(QUORVEL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run")
endif()
