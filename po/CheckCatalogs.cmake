# Checks the message catalogs:
#  1. the committed templates po/<domain>.pot hold exactly the texts that the
#     sources mark today (re-extracted into BINARY_DIR; references, order and
#     the creation date do not count);
#  2. every po/<lang>/<domain>.po translates every text of its template, with
#     no fuzzy or untranslated entry and no entry the template no longer has.
#
# cmake -DSOURCE_DIR=<repository> -DBINARY_DIR=<scratch folder>
#   -DXGETTEXT_EXECUTABLE=<xgettext> -DMSGFMT_EXECUTABLE=<msgfmt> -P CheckCatalogs.cmake

cmake_minimum_required(VERSION 3.25)

include("${CMAKE_CURRENT_LIST_DIR}/ExtractMessages.cmake")

get_filename_component(tools "${MSGFMT_EXECUTABLE}" DIRECTORY)
find_program(MSGCOMM msgcomm HINTS "${tools}" REQUIRED)
find_program(MSGCMP msgcmp HINTS "${tools}" REQUIRED)

set(po_dir "${SOURCE_DIR}/po")
set(fresh_dir "${BINARY_DIR}/extracted")
file(REMOVE_RECURSE "${fresh_dir}")
quorvel_extract_messages("${SOURCE_DIR}" "${fresh_dir}" "${XGETTEXT_EXECUTABLE}" "")

set(failures "")
set(domains default dialogs)

# 1. Templates up to date: the messages that only one of the two files holds.
foreach(domain ${domains})
  set(committed "${po_dir}/${domain}.pot")
  if(NOT EXISTS "${committed}")
    string(APPEND failures "po/${domain}.pot is missing: build the target quorvel_pot\n")
    continue()
  endif()
  execute_process(
    COMMAND "${MSGCOMM}" --less-than=2 --no-location --no-wrap
            "${committed}" "${fresh_dir}/${domain}.pot"
    OUTPUT_VARIABLE only_in_one ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    string(APPEND failures "msgcomm failed on po/${domain}.pot:\n${err}\n")
    continue()
  endif()
  # Each message's msgid with its continuation lines; the header entry (a
  # lone msgid "") differs by its date and is not a message.
  string(REGEX MATCHALL "\nmsgid \"[^\n]*(\n\"[^\n]*)*" differing "\n${only_in_one}")
  list(FILTER differing EXCLUDE REGEX "^\nmsgid \"\"$")
  if(differing)
    string(REPLACE "\nmsgid " "\n  " listed "${differing}")
    string(REPLACE ";" "" listed "${listed}")
    string(APPEND failures
      "po/${domain}.pot is out of date (build the target quorvel_pot); "
      "texts in only one of the committed and the extracted template:${listed}\n")
  endif()
endforeach()

# 2. Every catalog complete for the current sources.
file(GLOB catalogs RELATIVE "${po_dir}" "${po_dir}/*/*.po")
if(NOT catalogs)
  string(APPEND failures "no catalogs below po/\n")
endif()
foreach(catalog ${catalogs})
  get_filename_component(domain "${catalog}" NAME_WE)
  if(NOT domain IN_LIST domains)
    string(APPEND failures "po/${catalog}: unknown text domain ${domain}\n")
    continue()
  endif()
  execute_process(
    COMMAND "${MSGFMT_EXECUTABLE}" --check --statistics -o /dev/null "${po_dir}/${catalog}"
    OUTPUT_VARIABLE out ERROR_VARIABLE statistics RESULT_VARIABLE rc)
  string(STRIP "${statistics}" statistics)
  message(STATUS "po/${catalog}: ${statistics}")
  if(NOT rc EQUAL 0)
    string(APPEND failures "po/${catalog} does not pass msgfmt --check:\n${statistics}\n")
  elseif(statistics MATCHES "fuzzy|untranslated")
    string(APPEND failures "po/${catalog} is incomplete: ${statistics}\n")
  endif()
  # msgcmp ignores fuzzy and untranslated entries of the catalog, so a text of
  # the template without a finished translation is an error here.
  execute_process(
    COMMAND "${MSGCMP}" "${po_dir}/${catalog}" "${fresh_dir}/${domain}.pot"
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    string(APPEND failures "po/${catalog} lacks translations of the extracted texts:\n${err}\n")
  elseif(err MATCHES "this message is not used")
    string(APPEND failures
      "po/${catalog} holds texts the sources no longer use (merge it with msgmerge):\n${err}\n")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "catalogs up to date and complete")
