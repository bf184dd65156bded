# Run by the install of the "development" part: writes korval.pc for the
# prefix being installed to. src/CMakeLists.txt sets the KORVAL_PC_*
# variables before it. The file is written straight into its place, not
# through the build folder, so that an install as root leaves nothing there
# that a later install would have to overwrite, and installs into two
# prefixes at once (the tests make them) stay apart.
foreach(dir LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${KORVAL_PC_${dir}}")
    set(KORVAL_PC_${dir}_PATH "${KORVAL_PC_${dir}}")
    set(KORVAL_PC_${dir}_INSTALL "${KORVAL_PC_${dir}}")
  else()
    set(KORVAL_PC_${dir}_PATH "\${prefix}/${KORVAL_PC_${dir}}")
    set(KORVAL_PC_${dir}_INSTALL "${CMAKE_INSTALL_PREFIX}/${KORVAL_PC_${dir}}")
  endif()
endforeach()
set(KORVAL_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")

set(pcFile "${KORVAL_PC_LIBDIR_INSTALL}/pkgconfig/korval.pc")
message(STATUS "Installing: $ENV{DESTDIR}${pcFile}")
configure_file("${KORVAL_PC_TEMPLATE}" "$ENV{DESTDIR}${pcFile}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${pcFile}")
