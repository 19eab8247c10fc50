# The install layout.
#
#   bin/tarvek-programmer                               the program
#   share/tarvek-programmer/help*.txt                   the help texts (installed by src/app)
#   share/applications/tarvek-programmer.desktop        the desktop entry
#   share/icons/hicolor/scalable/apps/tarvek-programmer.svg, and PNG sizes when rendered
#
# An installed program keeps setup.txt, Saved/ and ports/ in a per-user folder; it finds
# the help texts from its own folder through TARVEK_INSTALLED_HELP_FROM_BIN (main.cpp).
# The simulator is a development tool and is not installed.

include(GNUInstallDirs)

set(TARVEK_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/tarvek-programmer)
file(RELATIVE_PATH TARVEK_INSTALLED_HELP_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/tarvek-programmer)

set(_packaging ${CMAKE_CURRENT_LIST_DIR}/../packaging)
install(FILES ${_packaging}/tarvek-programmer.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_packaging}/tarvek-programmer.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# PNG icons for the desktops and docks that want pixels, rendered from the SVG by
# rsvg-convert (Debian package librsvg2-bin). Off by default: only the package needs them.
option(TARVEK_PNG_ICONS "Render and install PNG icons (needs rsvg-convert)" OFF)
if(TARVEK_PNG_ICONS)
  find_program(TARVEK_RSVG_CONVERT rsvg-convert REQUIRED)
  set(_pngs)
  foreach(_size 16 24 32 48 64 128 256)
    set(_png ${CMAKE_BINARY_DIR}/icons/${_size}x${_size}/tarvek-programmer.png)
    add_custom_command(
      OUTPUT ${_png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${_size}x${_size}
      COMMAND ${TARVEK_RSVG_CONVERT} -w ${_size} -h ${_size} -o ${_png} ${_packaging}/tarvek-programmer.svg
      DEPENDS ${_packaging}/tarvek-programmer.svg
      COMMENT "Rendering the ${_size}x${_size} icon"
      VERBATIM)
    install(FILES ${_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
    list(APPEND _pngs ${_png})
  endforeach()
  add_custom_target(tarvek_icons ALL DEPENDS ${_pngs})
endif()
