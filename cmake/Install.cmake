# What `cmake --install` puts in place besides the program.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/FSHelp DESTINATION ${CMAKE_INSTALL_DATADIR}/farsend98)
install(FILES ${CMAKE_SOURCE_DIR}/resources/farsend98.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The desktop entry names the program by its absolute path, which is known
# only when installing (`cmake --install --prefix` may differ from the
# configured prefix), so it is written then.
install(CODE "
  set(FARSEND_DESKTOP_TEMPLATE \"${CMAKE_SOURCE_DIR}/resources/farsend98.desktop.in\")
  set(FARSEND_DESKTOP_STAGING \"${CMAKE_BINARY_DIR}/install-staging\")
  set(FARSEND_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(FARSEND_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
")
install(SCRIPT ${CMAKE_SOURCE_DIR}/cmake/InstallDesktopEntry.cmake)

# "Send to Farsend 98" for the file managers: templates and helpers, which
# `farsend98-integrate install` fills in and puts into the user's folders.
install(FILES ${CMAKE_SOURCE_DIR}/integrations/dolphin/farsend98-sendto.desktop.in
        DESTINATION ${CMAKE_INSTALL_DATADIR}/farsend98/integrations/dolphin)
install(FILES ${CMAKE_SOURCE_DIR}/integrations/nautilus/send-to-farsend98.sh.in
        DESTINATION ${CMAKE_INSTALL_DATADIR}/farsend98/integrations/nautilus)
install(FILES ${CMAKE_SOURCE_DIR}/integrations/nemo/farsend98-sendto.nemo_action.in
        DESTINATION ${CMAKE_INSTALL_DATADIR}/farsend98/integrations/nemo)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/integrations/nemo/farsend98-nemo-open
        DESTINATION ${CMAKE_INSTALL_DATADIR}/farsend98/integrations/nemo)
install(FILES ${CMAKE_SOURCE_DIR}/integrations/thunar/farsend98-action.xml.in
        DESTINATION ${CMAKE_INSTALL_DATADIR}/farsend98/integrations/thunar)

# The tool finds the data folder relative to its own folder, so the
# installation can be moved or installed under another prefix.
file(RELATIVE_PATH FARSEND_REL_DATADIR "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_DATADIR}")
if(FARSEND_REL_DATADIR STREQUAL "")
  set(FARSEND_REL_DATADIR ".")
endif()
configure_file(${CMAKE_SOURCE_DIR}/integrations/farsend98-integrate.in
               ${CMAKE_BINARY_DIR}/farsend98-integrate @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/farsend98-integrate DESTINATION ${CMAKE_INSTALL_BINDIR})
