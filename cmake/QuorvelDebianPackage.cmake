# The Debian package: quorvel_<version>_<arch>.deb, installed below /usr.
# dpkg-shlibdeps finds the libraries the programs link (Qt, QScintilla, the C++
# runtime); what Qt loads at run time is named here: the platform plugins and
# the SVG plugins that draw the window icon.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR "The Quorvel developers")
set(CPACK_PACKAGE_CONTACT "The Quorvel developers <developers@quorvel.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quorvel.org")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "version resources for Delphi project groups")
set(CPACK_PACKAGE_DESCRIPTION
  "Quorvel keeps the version information of all projects of one Delphi project\n"
  "group and turns it into compiled Windows version resources: it fills a\n"
  "resource-script template for every checked project and platform and runs a\n"
  "resource compiler (such as llvm-rc) on each script. quorvel-cli does the\n"
  "same without the window, for build pipelines.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "llvm")
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/package")
include(CPack)
