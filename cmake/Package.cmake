# Debian package: `cpack -G DEB` in the build folder. It installs the same
# files as `cmake --install`, under /usr.
set(CPACK_PACKAGE_NAME "farsend98")
set(CPACK_PACKAGE_VENDOR "Farsend 98 developers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "send files and folders to a folder of your choice")
set(CPACK_PACKAGE_DESCRIPTION
  "Farsend 98 copies or moves the files and folders selected in a file manager\n\
into a folder of your choice, with a small window to pick the destination,\n\
questions about name conflicts and a progress bar. It is started from the\n\
Send to Farsend 98 entry in the context menu of Dolphin, GNOME Files, Nemo or\n\
Thunar, which the command farsend98-integrate adds for each user.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Farsend 98 developers <farsend98@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Libraries the program links against, found by dpkg-shlibdeps (dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time rather than linked, so dpkg-shlibdeps cannot see them:
# the SVG plugin draws the window icon, xdg-open opens the help page.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6, xdg-utils")

include(CPack)
