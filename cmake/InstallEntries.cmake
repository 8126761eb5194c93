# Runs at install time (included by cmake_install.cmake): writes the files
# that name the installed program by its absolute path, which is known only
# then (`cmake --install --prefix` may differ from the configured prefix).
# Expects FARSEND_SOURCE_DIR, FARSEND_STAGING, FARSEND_BINDIR, FARSEND_DATADIR
# and FARSEND_ENTRIES (what to write: "desktop" and/or "menus");
# CMAKE_INSTALL_PREFIX is the prefix of this install.
cmake_policy(VERSION 3.25)

function(farsend_full out dir)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
  endif()
endfunction()
farsend_full(bindir "${FARSEND_BINDIR}")
farsend_full(datadir "${FARSEND_DATADIR}")
set(program "${bindir}/farsend98")
set(helper "${datadir}/farsend98/integrations/farsend98-open-uris")

if(program MATCHES "\n")
  message(FATAL_ERROR "A desktop entry cannot name a program whose path holds a line break: ${program}")
endif()

# Exec quoting of the desktop entry format: a path with reserved characters
# goes in double quotes with \ " ` $ escaped by a backslash; then the string
# value itself escapes each backslash again, and a literal % is written %%.
function(farsend_exec_quote out path)
  if(path MATCHES "^[A-Za-z0-9/._+,:@=-]+$")
    set(exec "${path}")
  else()
    string(REPLACE "\\" "\\\\" exec "${path}")
    string(REPLACE "\"" "\\\"" exec "${exec}")
    string(REPLACE "`" "\\`" exec "${exec}")
    string(REPLACE "$" "\\$" exec "${exec}")
    set(exec "\"${exec}\"")
  endif()
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "%" "%%" exec "${exec}")
  set(${out} "${exec}" PARENT_SCOPE)
endfunction()

# file(INSTALL) honours DESTDIR and records the file in the install manifest
# (a macro: the manifest list is a variable of the calling scope).
macro(farsend_put template name destination)
  configure_file("${template}" "${FARSEND_STAGING}/${name}" @ONLY)
  file(INSTALL DESTINATION "${destination}" TYPE FILE FILES "${FARSEND_STAGING}/${name}")
endmacro()

set(ICON "${datadir}/icons/hicolor/scalable/apps/farsend98.svg")
string(REPLACE "\\" "\\\\" ICON "${ICON}")
if("desktop" IN_LIST FARSEND_ENTRIES)
  farsend_exec_quote(FARSEND_DESKTOP_EXEC "${program}")
  farsend_put("${FARSEND_SOURCE_DIR}/resources/farsend98.desktop.in" farsend98.desktop "${datadir}/applications")
endif()
# Dolphin and Nemo read their menu entries from every data folder, so these
# serve every user of a system-wide installation.
if("menus" IN_LIST FARSEND_ENTRIES)
  if(program MATCHES "%" OR helper MATCHES "%")
    message(FATAL_ERROR "A Nemo action cannot name a path that holds \"%\": ${program}")
  endif()
  farsend_exec_quote(EXEC "${program}")
  farsend_put("${FARSEND_SOURCE_DIR}/integrations/dolphin/farsend98-sendto.desktop.in"
              farsend98-sendto.desktop "${datadir}/kio/servicemenus")
  farsend_exec_quote(quoted_helper "${helper}")
  set(EXEC "${quoted_helper} ${EXEC}")
  farsend_put("${FARSEND_SOURCE_DIR}/integrations/nemo/farsend98-sendto.nemo_action.in"
              farsend98-sendto.nemo_action "${datadir}/nemo/actions")
endif()
