# Debian ships QScintilla for Qt 6 without a CMake package: find the library
# and its headers below the Qt include folder and wrap them in an imported target.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)
get_target_property(_qt_core_includes Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
find_path(QScintilla_INCLUDE_DIR Qsci/qsciscintilla.h
  HINTS ${_qt_core_includes} /usr/include/x86_64-linux-gnu/qt6 /usr/include/qt6
  PATH_SUFFIXES .. )
find_library(QScintilla_LIBRARY NAMES qscintilla2_qt6)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(QScintilla REQUIRED_VARS QScintilla_LIBRARY QScintilla_INCLUDE_DIR)
if(QScintilla_FOUND AND NOT TARGET QScintilla::QScintilla)
  add_library(QScintilla::QScintilla UNKNOWN IMPORTED)
  set_target_properties(QScintilla::QScintilla PROPERTIES
    IMPORTED_LOCATION "${QScintilla_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${QScintilla_INCLUDE_DIR}"
    INTERFACE_COMPILE_DEFINITIONS QSCINTILLA_DLL
    INTERFACE_LINK_LIBRARIES "Qt6::Widgets;Qt6::PrintSupport")
endif()
mark_as_advanced(QScintilla_INCLUDE_DIR QScintilla_LIBRARY)
