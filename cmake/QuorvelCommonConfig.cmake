# Settings every target of our own shares, carried by the INTERFACE target
# quorvel_common_config: the language level, the warnings chosen per compiler,
# and warnings as errors when QUORVEL_WERROR is on (CI turns it on; a user's
# newer compiler with a new warning still builds). Third-party headers come in
# as system includes through their imported targets and do not trip this.
#
# quorvel_strict_qt adds Qt's safety defines for the libraries that build with
# them: no silent conversion between 8-bit text and QString, no implicit
# QUrl from a string, no narrowing in signal connections.

add_library(quorvel_common_config INTERFACE)
target_compile_features(quorvel_common_config INTERFACE cxx_std_17)

# The options reach the C++ compiler only, not the resource compiler that
# builds the Windows programs' version resources.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  set(_quorvel_warnings
    -Wall
    -Wextra
    -Wpedantic
    -Wcast-qual
    -Wnon-virtual-dtor
    -Woverloaded-virtual
    -Wno-error=deprecated-declarations)
  if(QUORVEL_WERROR)
    list(APPEND _quorvel_warnings -Werror)
  endif()
elseif(MSVC)
  # /utf-8: the sources are UTF-8; /permissive-: standard C++ as GCC sees it.
  set(_quorvel_warnings
    /W4
    /utf-8
    /permissive-
    /Zc:__cplusplus)
  if(QUORVEL_WERROR)
    list(APPEND _quorvel_warnings /WX)
  endif()
endif()
target_compile_options(quorvel_common_config INTERFACE
  "$<$<COMPILE_LANGUAGE:C,CXX>:${_quorvel_warnings}>")

add_library(quorvel_strict_qt INTERFACE)
target_compile_definitions(quorvel_strict_qt INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_FOREACH)
