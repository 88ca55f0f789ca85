# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts in place, and the Debian package made from it.
include(GNUInstallDirs)

install(TARGETS quovis RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
configure_file(docs/quovis.1.in ${CMAKE_BINARY_DIR}/quovis.1 @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/quovis.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(QUOVIS_GUI)  # a headless quovis has no window to start from a menu
  install(FILES packaging/quovis.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/quovis.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quovis)
set(CPACK_PACKAGE_CONTACT "quovis developers <quovis@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "quovis opens the I2C bus of a digital TV receiver board, finds which demodulator\n"
    "chip sits on it and shows live what that chip reports: lock lamps, SNR, error\n"
    "counts and rates, offsets, AGC and the DVB-T parameters. It also has a raw I2C\n"
    "console and a register editor for the TDA18271 tuner. It talks to real cards\n"
    "through Linux i2c-dev and comes with simulated boards.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # quovis_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # dependencies from the linked libraries
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "i2c-tools")
set(CPACK_STRIP_FILES ON)
include(CPack)
