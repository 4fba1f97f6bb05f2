# The layers of the program, kept apart by the build:
#   - core/ beneath everything; the study session (session/) above the
#     core and beneath the windows: it includes nothing but core/ and
#     itself, so every window may hold it;
#   - core/ beneath widgets/ and platform/ (the lexiwidgets library),
#     beneath the windows (lexiui): a plain control or a platform adapter
#     that includes a window header (shell/, study/, select/, settings/,
#     help/, stats/) stops the build;
#   - the windows are rooms of their own: a window folder (study/, select/,
#     settings/, help/, stats/) includes no other window folder, and of
#     shell/ only the narrow headers listed below, which include no window
#     themselves; shell/ wires the windows together;
#   - nothing of the tests in the program: no program source includes a
#     file of tests/.
#
# Included from the project once lexiui has its sources, this sets up the
# check to run before lexiwidgets and lexiui are compiled and again
# whenever one of the checked files changes; run as a script
# (cmake -DSOURCE_DIR=<project root> -P LayerCheck.cmake) it scans the
# folders.

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.22)
  set(window_folders study select settings help stats)
  # What a window may include of shell/:
  #   appwindows.h   the global window references (declarations only), by
  #                  which the program knows its windows;
  #   learnersync.h  a learner's sync, which the settings window starts.
  set(shell_kept shell/appwindows.h shell/learnersync.h)

  set(include_regex "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
  # included(<file> <var>): the project-relative headers <file> includes.
  function(included file var)
    file(STRINGS "${file}" lines REGEX "${include_regex}")
    set(headers "")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "${include_regex}.*" "\\1" header "${line}")
      list(APPEND headers "${header}")
    endforeach()
    set(${var} "${headers}" PARENT_SCOPE)
  endfunction()

  set(faults "")
  foreach(folder core tools session widgets platform shell ${window_folders})
    file(GLOB files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
    foreach(file IN LISTS files)
      file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
      included("${file}" headers)
      foreach(header IN LISTS headers)
        if(header MATCHES "^tests/")
          string(APPEND faults "\n  ${name} includes ${header}: the program contains nothing of the tests")
        endif()
        if(NOT header MATCHES "^([a-z]+)/")
          continue()
        endif()
        set(target_folder "${CMAKE_MATCH_1}")
        if(folder STREQUAL "session")
          if(NOT target_folder MATCHES "^(core|session)$")
            string(APPEND faults "\n  ${name} includes ${header}: the study session includes only core/")
          endif()
        elseif(folder STREQUAL "widgets" OR folder STREQUAL "platform")
          if(target_folder MATCHES "^(shell|study|select|settings|help|stats)$")
            string(APPEND faults "\n  ${name} includes ${header}: widgets/ and platform/ include no window")
          endif()
        elseif(folder IN_LIST window_folders AND NOT target_folder STREQUAL folder)
          if(target_folder IN_LIST window_folders OR (target_folder STREQUAL "shell" AND NOT header IN_LIST shell_kept))
            string(APPEND faults "\n  ${name} includes ${header}: a window includes no other window"
                                 " (announce a signal that shell/windowwiring.cpp connects, or take a narrow interface)")
          endif()
        endif()
      endforeach()
    endforeach()
  endforeach()
  # The headers kept for the windows stay narrow: they include no window.
  foreach(kept IN LISTS shell_kept)
    included("${SOURCE_DIR}/${kept}" headers)
    foreach(header IN LISTS headers)
      if(header MATCHES "^(shell|study|select|settings|help|stats)/")
        string(APPEND faults "\n  ${kept} includes ${header}: a header kept for the windows includes no window")
      endif()
    endforeach()
  endforeach()
  if(faults)
    message(FATAL_ERROR "The layers of the program are crossed:${faults}")
  endif()
  return()
endif()

file(GLOB checked_files CONFIGURE_DEPENDS
     "${PROJECT_SOURCE_DIR}/core/*.h" "${PROJECT_SOURCE_DIR}/core/*.cpp"
     "${PROJECT_SOURCE_DIR}/tools/*.h" "${PROJECT_SOURCE_DIR}/tools/*.cpp"
     "${PROJECT_SOURCE_DIR}/session/*.h" "${PROJECT_SOURCE_DIR}/session/*.cpp"
     "${PROJECT_SOURCE_DIR}/widgets/*.h" "${PROJECT_SOURCE_DIR}/widgets/*.cpp"
     "${PROJECT_SOURCE_DIR}/platform/*.h" "${PROJECT_SOURCE_DIR}/platform/*.cpp"
     "${PROJECT_SOURCE_DIR}/shell/*.h" "${PROJECT_SOURCE_DIR}/shell/*.cpp"
     "${PROJECT_SOURCE_DIR}/study/*.h" "${PROJECT_SOURCE_DIR}/study/*.cpp"
     "${PROJECT_SOURCE_DIR}/select/*.h" "${PROJECT_SOURCE_DIR}/select/*.cpp"
     "${PROJECT_SOURCE_DIR}/settings/*.h" "${PROJECT_SOURCE_DIR}/settings/*.cpp"
     "${PROJECT_SOURCE_DIR}/help/*.h" "${PROJECT_SOURCE_DIR}/help/*.cpp"
     "${PROJECT_SOURCE_DIR}/stats/*.h" "${PROJECT_SOURCE_DIR}/stats/*.cpp")
set(layer_stamp ${CMAKE_BINARY_DIR}/layercheck.stamp)
add_custom_command(
  OUTPUT ${layer_stamp}
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -P ${CMAKE_CURRENT_LIST_FILE}
  COMMAND ${CMAKE_COMMAND} -E touch ${layer_stamp}
  DEPENDS ${CMAKE_CURRENT_LIST_FILE} ${checked_files}
  COMMENT "Checking that the layers and the windows keep apart"
  VERBATIM)
add_custom_target(layer_check DEPENDS ${layer_stamp})
add_dependencies(lexistudy layer_check)
add_dependencies(lexiwidgets layer_check)
add_dependencies(lexiui layer_check)
