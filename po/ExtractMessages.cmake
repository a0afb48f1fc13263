# Extracts the translatable texts of the sources into the two catalog
# templates default.pot and dialogs.pot.
#
# Domain "default": Tr("..."), TrPlural("...", "...", n) and TrNoop("...")
# (the main window's captions,
# the program's messages, the command-line tool). Domain "dialogs":
# DlgNoop("...") (the list editor).
#
# As a script: cmake -DSOURCE_DIR=<repository> -DOUTPUT_DIR=<folder>
#   -DXGETTEXT_EXECUTABLE=<xgettext> [-DPACKAGE_VERSION=<x.y.z>] -P ExtractMessages.cmake

cmake_minimum_required(VERSION 3.25)

function(quorvel_extract_messages source_dir output_dir xgettext package_version)
  if(NOT xgettext)
    message(FATAL_ERROR "xgettext is needed to extract the messages (package gettext)")
  endif()
  # Relative names keep the references in the templates independent of where
  # the repository lies.
  file(GLOB_RECURSE sources RELATIVE "${source_dir}"
    "${source_dir}/src/*.cpp" "${source_dir}/src/*.h")
  list(SORT sources)
  file(MAKE_DIRECTORY "${output_dir}")
  set(common --language=C++ --from-code=UTF-8 --add-comments=TRANSLATORS:
    --package-name=Quorvel --package-version=${package_version}
    --msgid-bugs-address=developers@quorvel.org --foreign-user
    # Only our own markers: the plain gettext calls in the translation glue
    # take run-time texts.
    --keyword)
  set(domains default dialogs)
  set(keywords_default --keyword=Tr --keyword=TrNoop --keyword=TrPlural:1,2)
  set(keywords_dialogs --keyword=DlgNoop)
  foreach(domain ${domains})
    execute_process(
      COMMAND "${xgettext}" ${common} ${keywords_${domain}}
              "--output=${output_dir}/${domain}.pot" ${sources}
      WORKING_DIRECTORY "${source_dir}"
      RESULT_VARIABLE rc
      ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "xgettext failed for the domain ${domain}:\n${err}")
    endif()
    if(err)
      message(WARNING "xgettext (${domain}):\n${err}")
    endif()
    if(NOT EXISTS "${output_dir}/${domain}.pot")
      message(FATAL_ERROR "xgettext found no texts for the domain ${domain}")
    endif()
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  if(NOT PACKAGE_VERSION)
    set(PACKAGE_VERSION "")
  endif()
  quorvel_extract_messages("${SOURCE_DIR}" "${OUTPUT_DIR}" "${XGETTEXT_EXECUTABLE}"
                           "${PACKAGE_VERSION}")
endif()
