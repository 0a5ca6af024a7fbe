# `make install` / `cmake --install`: the programs, the desktop entry, the application icon at
# every size, the AppStream metadata, the man pages, the shell completions, the translations and
# the package documents, under the usual prefix layout (DESTDIR is honoured for staging).
include(GNUInstallDirs)

# The date of this version's release, as the AppStream metadata and the man pages write it and
# as the Debian changelog does (one instant, two spellings).
set(VANTREL_RELEASE_DATE "2026-12-08")
set(VANTREL_RELEASE_DATE_RFC2822 "Tue, 08 Dec 2026 12:00:00 +0000")
set(VANTREL_HOMEPAGE "https://vantrel.org" CACHE STRING
    "Home page; the AppStream screenshots are its docs/screenshot-*.png")

# Package managers expect 0755 folders, whatever the umask of the one who installs.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS vantrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The web page's plug-in, where the program looks for it (src/browser/WebPagePlugin).
if(TARGET vantrel-webpreview)
  install(TARGETS vantrel-webpreview LIBRARY DESTINATION ${VANTREL_PLUGIN_DIR})
endif()
# The companion client, once it is part of the build.
if(TARGET vantrelctl)
  install(TARGETS vantrelctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Named after the application id, so that the desktop and the XDG autostart entry find the icon
# and window-to-application matching finds the entry.
configure_file(${PROJECT_SOURCE_DIR}/resources/vantrel.desktop.in
               ${PROJECT_BINARY_DIR}/${VANTREL_APP_ID}.desktop @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${VANTREL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The software centre finds the application by the same id ("Rate Us" opens appstream://<id>).
configure_file(${PROJECT_SOURCE_DIR}/resources/vantrel.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/${VANTREL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${VANTREL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon: the SVG for the scalable folder and PNGs rendered from it for the fixed sizes of the
# hicolor theme.
set(VANTREL_ICON_SVG ${PROJECT_SOURCE_DIR}/resources/icons/vantrel.svg)
set(VANTREL_ICON_SIZES 16 22 24 32 48 64 128 256 512)
install(FILES ${VANTREL_ICON_SVG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VANTREL_APP_ID}.svg)
add_executable(vantrel_iconrender ${PROJECT_SOURCE_DIR}/tools/iconrender/iconrender.cpp)
target_link_libraries(vantrel_iconrender PRIVATE Qt6::Gui Qt6::Svg)
set_target_properties(vantrel_iconrender PROPERTIES AUTOMOC OFF)
vantrel_strict(vantrel_iconrender)
set(installed_documents)
foreach(size IN LISTS VANTREL_ICON_SIZES)
  set(folder ${PROJECT_BINARY_DIR}/icons/${size}x${size})
  add_custom_command(OUTPUT ${folder}/${VANTREL_APP_ID}.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND vantrel_iconrender ${VANTREL_ICON_SVG} ${size} ${folder}/${VANTREL_APP_ID}.png
    DEPENDS vantrel_iconrender ${VANTREL_ICON_SVG} VERBATIM)
  list(APPEND installed_documents ${folder}/${VANTREL_APP_ID}.png)
  install(FILES ${folder}/${VANTREL_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Files installed compressed (gzip -n: no name or time stamp, so a rebuild gives the same bytes).
function(vantrel_compressed source output destination)
  add_custom_command(OUTPUT ${output}.gz
    COMMAND gzip -9nkf ${output}
    DEPENDS ${output} ${source} VERBATIM)
  set(installed_documents ${installed_documents} ${output}.gz PARENT_SCOPE)
  install(FILES ${output}.gz DESTINATION ${destination})
endfunction()

foreach(page vantrel vantrelctl)
  configure_file(${PROJECT_SOURCE_DIR}/docs/${page}.1.in ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
  vantrel_compressed(${PROJECT_SOURCE_DIR}/docs/${page}.1.in ${PROJECT_BINARY_DIR}/man/${page}.1
                     ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# The package's documents folder is named after the package, not the project.
set(docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/vantrel)
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in
               ${PROJECT_BINARY_DIR}/doc/changelog @ONLY)
vantrel_compressed(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in
                   ${PROJECT_BINARY_DIR}/doc/changelog ${docdir})
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/copyright.in
               ${PROJECT_BINARY_DIR}/doc/copyright @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/doc/copyright DESTINATION ${docdir})
add_custom_target(vantrel_installed_documents ALL DEPENDS ${installed_documents})

# Shell completion, where bash-completion and Debian's zsh look for it.
set(completions ${PROJECT_SOURCE_DIR}/resources/completions)
foreach(program vantrel vantrelctl)
  install(FILES ${completions}/${program}.bash RENAME ${program}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
  install(FILES ${completions}/_${program}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
endforeach()

# The compiled translations, wherever in the build tree qt_add_translations put them (none
# until the build has any). The package's own staging folder is not part of the build.
install(CODE "
  file(GLOB_RECURSE qm_files \"${PROJECT_BINARY_DIR}/*.qm\")
  list(FILTER qm_files EXCLUDE REGEX \"/_CPack_Packages/\")
  if(qm_files)
    file(INSTALL \${qm_files}
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/vantrel/translations\")
  endif()
")
