# vantrel_wayland_protocols(<target> <xml>...): generates the client glue of each Wayland
# protocol description with wayland-scanner (a header <name>-client-protocol.h and its code) and
# builds it into <target>, whose sources then include the header by its bare name.
# wayland-scanner writes C.
enable_language(C)
find_package(PkgConfig REQUIRED)
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)

function(vantrel_wayland_protocols target)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/wayland-protocols)
  file(MAKE_DIRECTORY ${out})
  foreach(xml IN LISTS ARGN)
    get_filename_component(xml ${xml} ABSOLUTE)
    get_filename_component(name ${xml} NAME_WE)
    set(header ${out}/${name}-client-protocol.h)
    set(code ${out}/${name}-protocol.c)
    add_custom_command(OUTPUT ${header} ${code}
      COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${header}
      COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${code}
      DEPENDS ${xml}
      COMMENT "wayland-scanner ${name}")
    set_source_files_properties(${header} ${code} PROPERTIES SKIP_AUTOGEN ON)
    target_sources(${target} PRIVATE ${header} ${code})
  endforeach()
  target_include_directories(${target} SYSTEM PRIVATE ${out})
  target_link_libraries(${target} PUBLIC PkgConfig::WAYLAND_CLIENT)
endfunction()
