# The Debian packages, made by `make deb` (cpack -G DEB in the build folder)
# from the three parts of the installation (src/CMakeLists.txt):
#   libkorval3     the library under its soname, and its data (share/korval)
#   libkorval-dev  the header, the libkorval.so link, korval.pc, the CMake package
#   korval         the program and its bash completion
# The libraries the binaries need come into their Depends through
# dpkg-shlibdeps (dpkg-dev and file); the Qt platform plugins (xcb, offscreen)
# come with libqt6gui6.
set(KORVAL_PACKAGE_MAINTAINER "KORVAL developers <korval@localhost>"
    CACHE STRING "Maintainer field of the Debian packages")
set(KORVAL_LIBRARY_PACKAGE libkorval${PROJECT_VERSION_MAJOR})
set(KORVAL_DEB_RELEASE 1)
set(KORVAL_DEB_VERSION ${PROJECT_VERSION}-${KORVAL_DEB_RELEASE})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korval)
set(CPACK_PACKAGE_VENDOR KORVAL)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${KORVAL_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Packages carry no debugging data: a build folder has them.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL library development program)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KORVAL_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The library package gets a shlibs file: hosts packaged against it depend on
# libkorval3 of at least the version they were built with.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME ${KORVAL_LIBRARY_PACKAGE})
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
# The free fonts of the widths of the Windows fonts labels name, and the
# fonts libwmf draws the texts of metafiles with.
set(CPACK_DEBIAN_LIBRARY_PACKAGE_RECOMMENDS "fonts-liberation2, fonts-dejavu-core, fonts-urw-base35")
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION
    "KORVAL price-label library
The library with the C interface through which a stock-keeping program hands
KORVAL its goods records and the name of a stored label format, to print the
labels at once or to open the label dialog; with the catalogue of label sheets.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libkorval-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${KORVAL_LIBRARY_PACKAGE} (= ${KORVAL_DEB_VERSION})")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
    "KORVAL price-label library, development files
The header korval/korval.h, the link to the library, the pkg-config file
korval.pc and the CMake package (find_package(korval), target korval::korval)
for building host programs against libkorval.")

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME korval)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION utils)
# The program has the library's code linked in, and reads the data that
# comes with the library package: both of one version.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "${KORVAL_LIBRARY_PACKAGE} (= ${KORVAL_DEB_VERSION})")
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION
    "KORVAL price-label designer and label printer
The korval program prints the labels of a goods file with a stored label
format to a printer, a PDF file or pictures, opens the label dialog, and
lists the formats, the printers and the catalogue of label sheets.")

include(CPack)
