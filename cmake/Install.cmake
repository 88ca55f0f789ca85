# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts in place; debian/ builds its packages from it.
include(GNUInstallDirs)

install(TARGETS quovis RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
configure_file(docs/quovis.1.in ${CMAKE_BINARY_DIR}/quovis.1 @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/quovis.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(QUOVIS_GUI)  # a headless quovis has no window to start from a menu
  install(FILES packaging/quovis.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/org.quovis.quovis.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES packaging/quovis.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # Menus and software centres that take no SVG get PNGs drawn from it.
  find_program(RSVG_CONVERT rsvg-convert REQUIRED)
  foreach(size 48 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}/quovis.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${CMAKE_SOURCE_DIR}/packaging/quovis.svg
      DEPENDS packaging/quovis.svg
      VERBATIM)
    list(APPEND ICON_PNGS ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(quovis_icons ALL DEPENDS ${ICON_PNGS})
endif()
