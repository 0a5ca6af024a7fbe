# vantrel_wayland_protocols(<target> <xml>...): generates the client header and the glue code of
# each Wayland protocol description with wayland-scanner and builds them into the target, whose
# sources then include "<name>-client-protocol.h" (name: the XML file's name without .xml).
enable_language(C)
find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)

function(vantrel_wayland_protocols target)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${target}_protocols)
  file(MAKE_DIRECTORY ${folder})
  foreach(xml ${ARGN})
    get_filename_component(name ${xml} NAME_WE)
    get_filename_component(xml ${xml} ABSOLUTE)
    set(header ${folder}/${name}-client-protocol.h)
    set(code ${folder}/${name}-protocol.c)
    add_custom_command(OUTPUT ${header} ${code}
      COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${header}
      COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${code}
      DEPENDS ${xml}
      COMMENT "wayland-scanner ${name}")
    target_sources(${target} PRIVATE ${header} ${code})
  endforeach()
  target_include_directories(${target} PRIVATE ${folder})
  target_link_libraries(${target} PRIVATE PkgConfig::WAYLAND_CLIENT)
endfunction()
