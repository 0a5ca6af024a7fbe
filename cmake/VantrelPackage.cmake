# `make package` (the `package` target, or `cpack` in the build folder): a Debian package of
# what `cmake --install` puts under /usr. Its dependencies are read off the binaries by
# dpkg-shlibdeps, plus what the binaries load or start at run time without linking it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "Vantrel developers")
set(CPACK_PACKAGE_CONTACT "Vantrel developers <${VANTREL_SUPPORT_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "clipboard history for the desktop")
set(CPACK_PACKAGE_DESCRIPTION
    "Vantrel lives in the system tray and records what you copy in other\n"
    "applications: plain and rich text, images, files and web addresses.\n"
    "Selecting an item of the history puts it back on the clipboard. The\n"
    "vantrelctl command lists the recent and marked items and copies them back\n"
    "from scripts.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VANTREL_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plugins, not linked: the SVG icon engine draws every icon of the interface.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# TIFF and WebP previews; xdg-open opens web addresses and files where no desktop portal does;
# Qt's Wayland platform draws the windows in a Wayland session (the clipboard is read there
# through libwayland-client, a library dependency like any other); Qt's own
# translations put its texts (the shortcut recorders, the fields' context menus) in the language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-image-formats-plugins, xdg-utils, qt6-wayland, qt6-translations-l10n")

include(CPack)

if(VANTREL_BUILD_TESTS)
  # Builds the package from this build tree and checks it as a user's system would see it.
  add_test(NAME package_deb
           COMMAND ${PROJECT_SOURCE_DIR}/tests/package/check-package ${PROJECT_BINARY_DIR}
                   $<TARGET_FILE:vantrel_autostart_entry>)
  set_tests_properties(package_deb PROPERTIES LABELS package TIMEOUT 180
    ENVIRONMENT "QT_QPA_PLATFORM=minimal;DISPLAY=;WAYLAND_DISPLAY=")
  # Writes an autostart entry with the real launch-at-log-in code, for desktop-file-validate.
  add_executable(vantrel_autostart_entry ${PROJECT_SOURCE_DIR}/tests/package/autostartentry.cpp)
  target_link_libraries(vantrel_autostart_entry PRIVATE vantrel_platform_xdg)
  vantrel_strict(vantrel_autostart_entry)

  # Tab completion in bash and zsh against the real Vantrel and the real X11 clipboard.
  add_test(NAME completion_e2e
           COMMAND dbus-run-session -- ${PROJECT_SOURCE_DIR}/tests/helpers/x11-session
                   ${PROJECT_SOURCE_DIR}/tests/helpers/with-tray
                   ${PROJECT_SOURCE_DIR}/tests/package/check-completion $<TARGET_FILE:vantrel>
                   $<TARGET_FILE:vantrelctl> $<TARGET_FILE:clipowner>
                   ${PROJECT_SOURCE_DIR}/resources/completions)
  set_tests_properties(completion_e2e PROPERTIES LABELS e2e TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;WAYLAND_DISPLAY=")
endif()
