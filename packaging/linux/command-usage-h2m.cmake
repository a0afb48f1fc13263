# Writes a help2man include file with a COMMANDS section: each command of
# quorvel-cli with its usage and options, as its own "COMMAND --help" prints
# them, so that the man page follows the program.
#   cmake -DPROGRAM=quorvel-cli -DOUTPUT=commands.h2m -P command-usage-h2m.cmake
execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE overview RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed: ${rc}")
endif()
string(REGEX MATCH "\ncommands:\n(  [^\n]*\n)+" listing "${overview}")
string(REGEX MATCHALL "\n  [a-z]+ " names "${listing}")
set(text "[COMMANDS]\n")
foreach(name ${names})
  string(STRIP "${name}" name)
  if(name STREQUAL "help")
    continue()
  endif()
  execute_process(COMMAND "${PROGRAM}" ${name} --help OUTPUT_VARIABLE usage RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${name} --help failed: ${rc}")
  endif()
  string(REGEX REPLACE "^usage: " "" usage "${usage}")
  # Backslashes and leading dots or quotes are roff's own.
  string(REPLACE "\\" "\\e" usage "${usage}")
  string(REGEX REPLACE "\n([.'])" "\n\\\\&\\1" usage "${usage}")
  string(APPEND text ".SS ${name}\n.nf\n${usage}.fi\n")
endforeach()
file(WRITE "${OUTPUT}" "${text}")
