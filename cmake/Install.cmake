# What `cmake --install` puts in place besides the program.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/FSHelp DESTINATION ${CMAKE_INSTALL_DATADIR}/farsend98)
