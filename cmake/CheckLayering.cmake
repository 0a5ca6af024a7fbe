# Reads every quoted #include under src/ and fails when one points up the layer stack:
#   support <- platform <- capture <- storage <- shell <- controls <- browser, preferences <- mini
#   <- app
# The mini window sits above the browser because it is built from the browser's lists and preview;
# the main window reaches it only through the factory the composition root installs.
# The include roots already make such an include fail to build; this check also covers what
# they cannot see: the platform interfaces including the Linux implementations beside them in
# the same folder, and Qt Widgets in the layers that must not link it.
# Run as: cmake -DSOURCE_DIR=<src> -DLINUX_HEADERS=<names> -P CheckLayering.cmake
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" LINUX_HEADERS "${LINUX_HEADERS}")
set(rank_support 0)
set(rank_platform 1)
set(rank_capture 2)
set(rank_storage 3)
set(rank_shell 4)
set(rank_controls 5)
set(rank_browser 6)
set(rank_preferences 6)
set(rank_mini 7)
set(rank_app 8)
set(widgetless support platform capture storage)

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(faults "")
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" folder "${file}")
  get_filename_component(name "${file}" NAME_WE)
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^#include ")
  foreach(line IN LISTS includes)
    if(line MATCHES "^#include \"([a-z]+)/([A-Za-z0-9_]+)\\.h\"")
      set(target_folder ${CMAKE_MATCH_1})
      set(header ${CMAKE_MATCH_2})
      if(NOT DEFINED rank_${target_folder} OR NOT DEFINED rank_${folder})
        list(APPEND faults "${file}: unknown layer in ${line}")
      elseif(rank_${target_folder} GREATER rank_${folder}
             OR (rank_${target_folder} EQUAL rank_${folder}
                 AND NOT target_folder STREQUAL folder))
        list(APPEND faults "${file}: upward ${line}")
      elseif(folder STREQUAL "platform" AND header IN_LIST LINUX_HEADERS
             AND NOT name IN_LIST LINUX_HEADERS)
        list(APPEND faults "${file}: an interface-side file includes ${line}")
      endif()
    elseif(line MATCHES "^#include \"ui_[A-Za-z0-9_]+\\.h\"")
      # The header Qt's user-interface compiler makes from the Designer form beside the file.
    elseif(line MATCHES "^#include \"")
      list(APPEND faults "${file}: not a folder-qualified include: ${line}")
    elseif(folder IN_LIST widgetless AND line MATCHES "<Qt?Widgets|<Q(Widget|MainWindow|Menu|Action|Application|MessageBox|SystemTrayIcon|Dialog)>")
      list(APPEND faults "${file}: Qt Widgets in a layer without them: ${line}")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n" report)
  message(FATAL_ERROR "${report}")
endif()
list(LENGTH files count)
message(STATUS "${count} files, no include points up the stack")
