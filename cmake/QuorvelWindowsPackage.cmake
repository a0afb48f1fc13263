# The Windows package: quorvel-<version>-win64.zip holds the two programs and
# exactly what they load (Qt, QScintilla, libintl and the mingw runtime DLLs,
# the Windows platform and style plugins), the catalogs, the default template
# and a short README.txt, in one folder as Windows programs are unpacked.

# The Windows prefix the build links against: where Qt6Core.dll lies, one up.
get_target_property(_qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT _qt_core_dll)
  get_target_property(_qt_core_dll Qt6::Core IMPORTED_LOCATION)
endif()
get_filename_component(QUORVEL_WINDOWS_BIN "${_qt_core_dll}" DIRECTORY)
get_filename_component(QUORVEL_WINDOWS_PREFIX "${QUORVEL_WINDOWS_BIN}" DIRECTORY)
set(QUORVEL_WINDOWS_PREFIX "${QUORVEL_WINDOWS_PREFIX}" CACHE INTERNAL "")

# Qt's catalogs are the same files on every platform: the build machine's.
set(QUORVEL_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH "Where Qt's qtbase_*.qm catalogs are")

set(QUORVEL_RUNTIME_DLLS
  libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll libintl-8.dll Qt6Core.dll)
if(QUORVEL_GUI)
  list(APPEND QUORVEL_RUNTIME_DLLS Qt6Gui.dll Qt6Widgets.dll Qt6PrintSupport.dll
       libqscintilla2_qt6.dll)
endif()
foreach(dll ${QUORVEL_RUNTIME_DLLS})
  install(FILES "${QUORVEL_WINDOWS_BIN}/${dll}" DESTINATION .)
endforeach()
if(QUORVEL_GUI)
  install(FILES "${QUORVEL_WINDOWS_PREFIX}/plugins/platforms/qwindows.dll" DESTINATION platforms)
  install(FILES "${QUORVEL_WINDOWS_PREFIX}/plugins/styles/qwindowsvistastyle.dll" DESTINATION styles)
endif()
install(FILES "${CMAKE_SOURCE_DIR}/packaging/README.txt" DESTINATION .)
# Qt's own texts (the standard buttons) in the languages we translate, and a
# qt.conf that makes Qt look for them and its plugins beside the programs.
if(QUORVEL_GUI)
  file(GLOB _catalog_dirs LIST_DIRECTORIES true "${CMAKE_SOURCE_DIR}/po/*")
  foreach(dir ${_catalog_dirs})
    get_filename_component(lang "${dir}" NAME)
    set(qm "${QUORVEL_QT_TRANSLATIONS}/qtbase_${lang}.qm")
    if(IS_DIRECTORY "${dir}" AND EXISTS "${qm}")
      install(FILES "${qm}" DESTINATION translations)
    endif()
  endforeach()
  install(FILES "${CMAKE_SOURCE_DIR}/packaging/qt.conf" DESTINATION .)
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_FILE_NAME "quorvel-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/package")
include(CPack)
