# The install layout and the Debian package.
#
#   bin/tarvek-programmer                               the program
#   bin/tarvek-cli, share/man/man1/tarvek-cli.1.gz      the command line and its manual page (src/cli)
#   share/tarvek-programmer/help*.txt                   the help texts (installed by src/CMakeLists.txt)
#   share/applications/tarvek-programmer.desktop        the desktop entry
#   share/icons/hicolor/scalable/apps/tarvek-programmer.svg, and PNG sizes when rendered
#
# An installed program keeps setup.txt and ports/ in a per-user folder and its settings
# files in ~/Documents/Tarvek; it finds the help texts from its own folder through
# TARVEK_INSTALLED_HELP_FROM_BIN (src/port/executable_folders.cpp).
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

# The Debian package (script/package builds it from a Release build).
set(TARVEK_PACKAGE_MAINTAINER "Tarvek PC Programmer maintainers <tarvek-programmer@example.org>"
    CACHE STRING "The Maintainer field of the Debian package: Name <address>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvek-programmer)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programs a Tarvek telephone alarm dialer over a serial cable")
set(CPACK_PACKAGE_CONTACT ${TARVEK_PACKAGE_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TARVEK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# CPack puts the summary above this text, as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "The Tarvek PC Programmer reads the programming stored in a Tarvek telephone
alarm dialer (its Global settings, the settings of each of its inputs and the
phone numbers each input calls), shows it on one screen, lets the technician
edit it, writes it back into the unit, saves it as a text file and prints it.
It also works offline, from the factory defaults or a saved settings file.
The command line tarvek-cli reads, writes, verifies and compares the same
programmings without a display, for scripts and work over SSH.")
# dpkg-shlibdeps declares the Qt libraries the program links (Widgets, SerialPort,
# PrintSupport and what they need). It cannot see what is loaded by name: the X11 and
# offscreen platform plugins come with libqt6gui6 and the print plugin with
# libqt6printsupport6, both found this way; the screens and the printed report use the
# Liberation fonts, declared here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")

include(CPack)
