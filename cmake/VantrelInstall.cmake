# `make install` / `cmake --install`: the programs, the desktop entry and the application icon,
# under the usual prefix layout (DESTDIR is honoured for staging).
include(GNUInstallDirs)

install(TARGETS vantrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
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
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/vantrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VANTREL_APP_ID}.svg)
