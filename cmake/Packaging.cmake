# The install layout.
#
#   bin/tarvek-programmer                               the program
#   share/tarvek-programmer/help*.txt                   the help texts (installed by src/app)
#
# An installed program keeps setup.txt, Saved/ and ports/ in a per-user folder; it finds
# the help texts from its own folder through TARVEK_INSTALLED_HELP_FROM_BIN (main.cpp).
# The simulator is a development tool and is not installed.

include(GNUInstallDirs)

set(TARVEK_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/tarvek-programmer)
file(RELATIVE_PATH TARVEK_INSTALLED_HELP_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/tarvek-programmer)
