# The Debian package: everything `cmake --install` puts in place (the two shared
# libraries, the language libraries, the headers, the CMake package and the
# pkg-config files, the test harness, tq3reg and the demo), below /usr, as one
# package. scripts/package.sh makes it from a built tree with cpack.
#
# Runtime dependencies come from dpkg-shlibdeps, which reads what the programs and
# libraries link; the rest are named here: the headers include pixman's, and the
# text looks best with the fonts the library's face aliases point at.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tq3view)
set(CPACK_PACKAGE_VENDOR "TQ3View")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "spreadsheet-like table view component with its platform-compatibility framework")
set(CPACK_PACKAGE_DESCRIPTION
  "TQ3View is a C++ user-interface component library whose centre, CTableView, is a
spreadsheet-like view: named sheets chosen from tabs, column and line headers,
numeric, text and list columns, in-cell editing, copy, cut and paste of
tab-separated blocks, find and replace, persisted settings and five languages.
The package holds the shared libraries, the language resource libraries, the
headers with a CMake package and pkg-config files, the headless test harness,
the settings tool tq3reg and the demo program tq3demo.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debug information stays in the build; the package carries stripped objects.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "TQ3View developers <tq3view@invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The view library links the framework library of this same package; dpkg-shlibdeps
# finds it in the build tree.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR} ${PROJECT_BINARY_DIR}/framework)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libpixman-1-dev")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-ipafont-gothic, fonts-wqy-microhei, g++ | clang, cmake, pkg-config")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "tzdata")

set(CPACK_SOURCE_IGNORE_FILES "/build/" "/\\\\.git/")
include(CPack)
