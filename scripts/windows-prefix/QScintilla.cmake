# QScintilla 2.13 for Qt 6 as a shared library, for the Windows prefix:
# QScintilla builds with qmake only, so this compiles the sources and defines
# of its qmake project (QSCI_SRC: the unpacked source tree).
cmake_minimum_required(VERSION 3.16)
project(qscintilla2_qt6 CXX)
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_AUTOMOC ON)
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)
# The headers are listed too, so that AUTOMOC finds the Q_OBJECT classes in Qsci/.
file(GLOB QSCI_SOURCES
  ${QSCI_SRC}/src/Qsci/*.h ${QSCI_SRC}/src/*.h ${QSCI_SRC}/src/*.cpp
  ${QSCI_SRC}/scintilla/lexers/*.cpp ${QSCI_SRC}/scintilla/lexlib/*.cpp
  ${QSCI_SRC}/scintilla/src/*.cpp)
add_library(qscintilla2_qt6 SHARED ${QSCI_SOURCES})
target_include_directories(qscintilla2_qt6 PRIVATE ${QSCI_SRC}/src ${QSCI_SRC}/scintilla/include
  ${QSCI_SRC}/scintilla/lexlib ${QSCI_SRC}/scintilla/src)
target_compile_definitions(qscintilla2_qt6 PRIVATE QSCINTILLA_MAKE_DLL SCINTILLA_QT SCI_LEXER
  INCLUDE_DEPRECATED_FEATURES)
if(NOT QT_FEATURE_accessibility)
  # Qt 6 no longer defines this when accessibility is left out; QScintilla tests it.
  target_compile_definitions(qscintilla2_qt6 PRIVATE QT_NO_ACCESSIBILITY)
endif()
target_link_libraries(qscintilla2_qt6 PRIVATE Qt6::Widgets Qt6::PrintSupport)
install(TARGETS qscintilla2_qt6 RUNTIME DESTINATION bin LIBRARY DESTINATION lib ARCHIVE DESTINATION lib)
install(DIRECTORY ${QSCI_SRC}/src/Qsci DESTINATION include)
