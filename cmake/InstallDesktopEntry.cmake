# Runs at install time (included by cmake_install.cmake): writes the desktop
# entry with the absolute path of the installed program in its Exec line.
# Expects FARSEND_DESKTOP_TEMPLATE, FARSEND_DESKTOP_STAGING, FARSEND_BINDIR
# and FARSEND_DATADIR; CMAKE_INSTALL_PREFIX is the prefix of this install.

if(IS_ABSOLUTE "${FARSEND_BINDIR}")
  set(program "${FARSEND_BINDIR}/farsend98")
else()
  set(program "${CMAKE_INSTALL_PREFIX}/${FARSEND_BINDIR}/farsend98")
endif()
if(IS_ABSOLUTE "${FARSEND_DATADIR}")
  set(applications "${FARSEND_DATADIR}/applications")
else()
  set(applications "${CMAKE_INSTALL_PREFIX}/${FARSEND_DATADIR}/applications")
endif()

if(program MATCHES "\n")
  message(FATAL_ERROR "A desktop entry cannot name a program whose path holds a line break: ${program}")
endif()

# Exec quoting of the desktop entry format: a path with reserved characters
# goes in double quotes with \ " ` $ escaped by a backslash; then the string
# value itself escapes each backslash again, and a literal % is written %%.
if(program MATCHES "^[A-Za-z0-9/._+,:@=-]+$")
  set(exec "${program}")
else()
  string(REPLACE "\\" "\\\\" exec "${program}")
  string(REPLACE "\"" "\\\"" exec "${exec}")
  string(REPLACE "`" "\\`" exec "${exec}")
  string(REPLACE "$" "\\$" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")

set(FARSEND_DESKTOP_EXEC "${exec}")
configure_file("${FARSEND_DESKTOP_TEMPLATE}" "${FARSEND_DESKTOP_STAGING}/farsend98.desktop" @ONLY)
# file(INSTALL) honours DESTDIR and records the file in install_manifest.txt.
file(INSTALL DESTINATION "${applications}" TYPE FILE FILES "${FARSEND_DESKTOP_STAGING}/farsend98.desktop")
