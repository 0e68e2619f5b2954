# A Debian package of the install, or on Windows an NSIS installer: cmake --build <dir> --target package.
set(CPACK_PACKAGE_NAME vpr40t)
set(CPACK_PACKAGE_VENDOR "Veskaro")
set(CPACK_PACKAGE_CONTACT "VPR-40T maintainers <vpr40t@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming software for the HX series of hand-held radios")
set(CPACK_PACKAGE_DESCRIPTION
    "VPR-40T prepares, reads, edits and writes the configuration of the HX series
of hand-held VHF and UHF radios over a serial cable, drives their test mode and
prints the configuration. It includes the desktop program vpr40t, the
command-line tool vpr40t-cli and the virtual radio vpr40t-sim.")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsInstaller.cmake)
  return()
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Library dependencies from the programs' shared libraries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
