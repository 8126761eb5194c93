# What `cmake --install` puts in place, and what the Debian package adds
# (component "package", left out of a plain install).
#
# Every destination folder is named here first, so that the install can note
# which folders it creates: the build folder's uninstall.sh removes them again,
# once empty, together with the files of install_manifest.txt.
set(FARSEND_INSTALL_FOLDERS "")
macro(farsend_folder var path)
  set(${var} "${path}")
  list(APPEND FARSEND_INSTALL_FOLDERS "${path}")
endmacro()
farsend_folder(bin_dir "${CMAKE_INSTALL_BINDIR}")
farsend_folder(applications_dir "${CMAKE_INSTALL_DATADIR}/applications")
farsend_folder(icon_dir "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
farsend_folder(metainfo_dir "${CMAKE_INSTALL_DATADIR}/metainfo")
farsend_folder(man_dir "${CMAKE_INSTALL_MANDIR}/man1")
farsend_folder(data_dir "${CMAKE_INSTALL_DATADIR}/farsend98")
farsend_folder(help_dir "${data_dir}/FSHelp")
set(integrations_dir "${data_dir}/integrations")
foreach(manager dolphin nautilus nemo thunar)
  farsend_folder(unused "${integrations_dir}/${manager}")
endforeach()
farsend_folder(doc_dir "${CMAKE_INSTALL_DATADIR}/doc/farsend98")
farsend_folder(unused "${CMAKE_INSTALL_DATADIR}/kio/servicemenus")
farsend_folder(unused "${CMAKE_INSTALL_DATADIR}/nemo/actions")

# Runs first, for every component: which of those folders, or the folders
# above them, are missing before anything is installed.
install(CODE "
  cmake_policy(VERSION 3.25)
  set(farsend_missing_before \"\")
  foreach(dir ${FARSEND_INSTALL_FOLDERS})
    if(NOT IS_ABSOLUTE \"\${dir}\")
      set(dir \"\${CMAKE_INSTALL_PREFIX}/\${dir}\")
    endif()
    set(dir \"\$ENV{DESTDIR}\${dir}\")
    while(NOT IS_DIRECTORY \"\${dir}\" AND NOT dir STREQUAL \"/\")
      list(APPEND farsend_missing_before \"\${dir}\")
      get_filename_component(dir \"\${dir}\" DIRECTORY)
    endwhile()
  endforeach()
" ALL_COMPONENTS)

install(TARGETS farsend98 RUNTIME DESTINATION ${bin_dir})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/FSHelp DESTINATION ${data_dir})
install(FILES ${CMAKE_SOURCE_DIR}/resources/farsend98.svg DESTINATION ${icon_dir})

# Man pages and the changelog, compressed as Debian keeps them; the
# metainfo and the copyright file filled in. All of them are made when the
# build is configured, not when it is built: an install or a `cpack` right
# after a reconfigure (a new FARSEND_MAINTAINER, say) takes what the
# configuration now says, even when nothing was built since.
set(FARSEND_STAGING "${CMAKE_BINARY_DIR}/install-staging")
configure_file(${CMAKE_SOURCE_DIR}/packaging/org.farsend98.Farsend98.metainfo.xml
               ${FARSEND_STAGING}/org.farsend98.Farsend98.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright ${FARSEND_STAGING}/copyright @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog ${FARSEND_STAGING}/changelog @ONLY)
set(man_pages ${CMAKE_SOURCE_DIR}/packaging/farsend98.1 ${CMAKE_SOURCE_DIR}/packaging/farsend98-integrate.1)
# An edited man page configures the build again, as an edited filled-in file does.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${man_pages})
foreach(text ${man_pages} ${FARSEND_STAGING}/changelog)
  get_filename_component(name ${text} NAME)
  execute_process(COMMAND gzip -9nc ${text} OUTPUT_FILE ${FARSEND_STAGING}/${name}.gz.new COMMAND_ERROR_IS_FATAL ANY)
  # Unchanged files keep their time, so a second install finds them up to date.
  file(COPY_FILE ${FARSEND_STAGING}/${name}.gz.new ${FARSEND_STAGING}/${name}.gz ONLY_IF_DIFFERENT)
  file(REMOVE ${FARSEND_STAGING}/${name}.gz.new)
endforeach()
install(FILES ${FARSEND_STAGING}/farsend98.1.gz ${FARSEND_STAGING}/farsend98-integrate.1.gz DESTINATION ${man_dir})
install(FILES ${FARSEND_STAGING}/org.farsend98.Farsend98.metainfo.xml DESTINATION ${metainfo_dir})
install(FILES ${FARSEND_STAGING}/copyright ${FARSEND_STAGING}/changelog.gz DESTINATION ${doc_dir}
        COMPONENT package EXCLUDE_FROM_ALL)

# The desktop entry, and in the package the Dolphin and Nemo menu entries for
# every user, name the program by its absolute path (cmake/InstallEntries.cmake).
foreach(component Unspecified package)
  if(component STREQUAL "package")
    set(entries menus)
    set(exclude EXCLUDE_FROM_ALL)
  else()
    set(entries desktop)
    set(exclude "")
  endif()
  install(CODE "
    set(FARSEND_SOURCE_DIR \"${CMAKE_SOURCE_DIR}\")
    set(FARSEND_STAGING \"${FARSEND_STAGING}\")
    set(FARSEND_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
    set(FARSEND_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
    set(FARSEND_ENTRIES ${entries})
    include(\"${CMAKE_SOURCE_DIR}/cmake/InstallEntries.cmake\")
  " COMPONENT ${component} ${exclude})
endforeach()

# "Send to Farsend 98" for each user: templates and the helper that turns
# file addresses into paths, which `farsend98-integrate install` fills in
# and puts into the user's folders.
foreach(manager dolphin nautilus nemo thunar)
  file(GLOB templates ${CMAKE_SOURCE_DIR}/integrations/${manager}/*.in)
  install(FILES ${templates} DESTINATION ${integrations_dir}/${manager})
endforeach()
install(PROGRAMS ${CMAKE_SOURCE_DIR}/integrations/farsend98-open-uris DESTINATION ${integrations_dir})
install(FILES ${CMAKE_SOURCE_DIR}/integrations/not-installed.in DESTINATION ${integrations_dir})

# The tool finds the data folder relative to its own folder, so the
# installation can be moved or installed under another prefix.
file(RELATIVE_PATH FARSEND_REL_DATADIR "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_DATADIR}")
if(FARSEND_REL_DATADIR STREQUAL "")
  set(FARSEND_REL_DATADIR ".")
endif()
configure_file(${CMAKE_SOURCE_DIR}/integrations/farsend98-integrate.in
               ${CMAKE_BINARY_DIR}/farsend98-integrate @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/farsend98-integrate DESTINATION ${bin_dir})

# Runs last: notes the folders this install created, beside the manifest
# (install_folders.txt, or install_folders_<component>.txt as the manifest
# is named), deepest first. Folders noted by an earlier install into the
# same prefix are kept: they are still this installation's.
install(CODE "
  if(CMAKE_INSTALL_COMPONENT)
    set(record \"${CMAKE_BINARY_DIR}/install_folders_\${CMAKE_INSTALL_COMPONENT}.txt\")
  else()
    set(record \"${CMAKE_BINARY_DIR}/install_folders.txt\")
  endif()
  set(created \"\")
  if(EXISTS \"\${record}\")
    file(STRINGS \"\${record}\" created)
  endif()
  list(APPEND created \${farsend_missing_before})
  set(kept \"\")
  set(prefix \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\")
  foreach(dir IN LISTS created)
    string(FIND \"\${dir}/\" \"\${prefix}\" below)
    string(FIND \"\${prefix}\" \"\${dir}/\" above)
    if(IS_DIRECTORY \"\${dir}\" AND (below EQUAL 0 OR above EQUAL 0 OR dir IN_LIST farsend_missing_before))
      list(APPEND kept \"\${dir}\")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES kept)
  list(SORT kept ORDER DESCENDING)
  list(JOIN kept \"\\n\" text)
  file(WRITE \"\${record}\" \"\${text}\")
" ALL_COMPONENTS)
configure_file(${CMAKE_SOURCE_DIR}/cmake/uninstall.sh.in ${CMAKE_BINARY_DIR}/uninstall.sh @ONLY)
