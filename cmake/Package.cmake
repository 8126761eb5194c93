# Debian package: `cpack -G DEB` in the build folder. It installs what
# `cmake --install` does, under /usr, and the component "package": the
# changelog and copyright file, and the Dolphin and Nemo menu entries for
# every user.
set(CPACK_PACKAGE_NAME "farsend98")
set(CPACK_PACKAGE_VENDOR "The Farsend 98 developers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "send files and folders to a folder of your choice")
set(CPACK_PACKAGE_DESCRIPTION
  "Farsend 98 copies or moves the files and folders selected in a file manager\n\
into a folder of your choice, with a small window to pick the destination,\n\
questions about name conflicts and a progress bar. It is started from the\n\
Send to Farsend 98 entry in the context menu of Dolphin, GNOME Files, Nemo or\n\
Thunar. The package adds the entry to Dolphin and Nemo for every user; the\n\
command farsend98-integrate adds it to GNOME Files and Thunar for each user,\n\
and each of these users runs farsend98-integrate remove before the package\n\
is removed.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${FARSEND_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${FARSEND_HOMEPAGE}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Libraries the program links against, found by dpkg-shlibdeps (dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time rather than linked, so dpkg-shlibdeps cannot see them:
# the SVG plugin draws the window icon, the Wayland plugin shows the window
# in a Wayland session, xdg-open opens the help page.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6, qt6-wayland, xdg-utils")

# Both components, each installed by name: an install by component writes
# its own install_manifest_<component>.txt, so packaging leaves the build
# folder's install_manifest.txt (a real installation's, for uninstall.sh)
# as it was.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/"
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};package;/")

include(CPack)
