# Reads every quoted #include under src/ and fails when one points up the layer stack:
#   support <- platform <- item <- storage <- recording <- shell <- controls <- browser,
#   preferences <- mini, webpreview <- app
# The mini window sits above the browser because it is built from the browser's lists and preview;
# the main window reaches it only through the factory the composition root installs. The web-page
# plug-in builds on the browser's WebPage.h and nothing includes it: the program loads it.
# Inside platform/ the interfaces at the root include only the root; doubles/ and xdg/ the root
# and themselves; x11/ and wayland/ also xdg/. Only PlatformLinux, which picks the backends for
# the session, includes x11/ and wayland/; no layer above platform/ does.
# The include roots already make an upward include fail to build; this check also covers what
# they cannot see: the folders inside platform/, and Qt Widgets in the layers that must not link
# it.
# Run as: cmake -DSOURCE_DIR=<src> -P CheckLayering.cmake
cmake_minimum_required(VERSION 3.25)
set(rank_support 0)
set(rank_platform 1)
set(rank_item 2)
set(rank_storage 3)
set(rank_recording 4)
set(rank_shell 5)
set(rank_controls 6)
set(rank_browser 7)
set(rank_preferences 7)
set(rank_mini 8)
set(rank_webpreview 8)
set(rank_app 9)
set(widgetless support platform item storage recording)
# What each folder of platform/ may include ("root" is the folder itself).
set(platform_root root)
set(platform_doubles root doubles)
set(platform_xdg root xdg)
set(platform_x11 root xdg x11)
set(platform_wayland root xdg wayland)
set(platform_above root xdg doubles)

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(faults "")
set(sub_folders "")
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" folder "${file}")
  get_filename_component(name "${file}" NAME_WE)
  set(sub root)
  if(file MATCHES "^platform/([a-z0-9]+)/")
    set(sub ${CMAKE_MATCH_1})
    list(APPEND sub_folders ${sub})
  endif()
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^#include ")
  foreach(line IN LISTS includes)
    if(line MATCHES "^#include \"([a-z]+)/(([a-z0-9]+)/)?([A-Za-z0-9_]+)\\.h\"")
      set(target_folder ${CMAKE_MATCH_1})
      set(target_sub root)
      if(CMAKE_MATCH_3)
        set(target_sub ${CMAKE_MATCH_3})
      endif()
      if(NOT DEFINED rank_${target_folder} OR NOT DEFINED rank_${folder})
        list(APPEND faults "${file}: unknown layer in ${line}")
      elseif(rank_${target_folder} GREATER rank_${folder}
             OR (rank_${target_folder} EQUAL rank_${folder}
                 AND NOT target_folder STREQUAL folder))
        list(APPEND faults "${file}: upward ${line}")
      elseif(target_folder STREQUAL "platform" AND NOT name STREQUAL "PlatformLinux")
        if(folder STREQUAL "platform")
          set(allowed ${platform_${sub}})
        else()
          set(allowed ${platform_above})
        endif()
        if(NOT DEFINED platform_${target_sub} OR NOT target_sub IN_LIST allowed)
          list(APPEND faults "${file}: ${line} is not within reach of platform/${sub}")
        endif()
      endif()
    elseif(line MATCHES "^#include \"ui_[A-Za-z0-9_]+\\.h\"")
      # The header Qt's user-interface compiler makes from the Designer form beside the file.
    elseif(line MATCHES "^#include \"[a-z0-9-]+-client-protocol\\.h\"")
      # The header wayland-scanner makes from a protocol of the folder's protocols/.
    elseif(line MATCHES "^#include \"")
      list(APPEND faults "${file}: not a folder-qualified include: ${line}")
    elseif(folder IN_LIST widgetless AND line MATCHES "<Qt?Widgets|<Q(Widget|MainWindow|Menu|Action|Application|MessageBox|SystemTrayIcon|Dialog)>")
      list(APPEND faults "${file}: Qt Widgets in a layer without them: ${line}")
    endif()
  endforeach()
endforeach()

# The four folders of platform/ are there (a folder missing would let its files go unchecked).
foreach(sub IN ITEMS x11 wayland xdg doubles)
  if(NOT sub IN_LIST sub_folders)
    list(APPEND faults "platform/${sub}/ holds no file")
  endif()
endforeach()

if(faults)
  list(JOIN faults "\n" report)
  message(FATAL_ERROR "${report}")
endif()
list(LENGTH files count)
message(STATUS "${count} files, no include points up the stack")
