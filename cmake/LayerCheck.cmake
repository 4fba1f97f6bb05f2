# The layers of the program: core/ beneath widgets/ and platform/ (the
# lexiwidgets library), beneath the windows (lexiui). A plain control or a
# platform adapter that includes a window header (shell/, study/, select/,
# settings/, help/, stats/) stops the build.
#
# Included from the project, this sets up the check to run before
# lexiwidgets is compiled and again whenever one of its files changes; run
# as a script (cmake -DSOURCE_DIR=<project root> -P LayerCheck.cmake) it
# scans the two folders.

if(CMAKE_SCRIPT_MODE_FILE)
  file(GLOB files "${SOURCE_DIR}/widgets/*.h" "${SOURCE_DIR}/widgets/*.cpp"
                  "${SOURCE_DIR}/platform/*.h" "${SOURCE_DIR}/platform/*.cpp")
  set(faults "")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](shell|study|select|settings|help|stats)/")
    file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
    foreach(line IN LISTS lines)
      string(STRIP "${line}" line)
      string(APPEND faults "\n  ${name}: ${line}")
    endforeach()
  endforeach()
  if(faults)
    message(FATAL_ERROR "widgets/ and platform/ must not include a window header:${faults}")
  endif()
  return()
endif()

get_target_property(layer_dir lexiwidgets SOURCE_DIR)
get_target_property(layer_sources lexiwidgets SOURCES)
set(layer_files "")
foreach(source IN LISTS layer_sources)
  if(NOT IS_ABSOLUTE "${source}")
    set(source "${layer_dir}/${source}")
  endif()
  list(APPEND layer_files "${source}")
endforeach()
set(layer_stamp ${CMAKE_BINARY_DIR}/layercheck.stamp)
add_custom_command(
  OUTPUT ${layer_stamp}
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -P ${CMAKE_CURRENT_LIST_FILE}
  COMMAND ${CMAKE_COMMAND} -E touch ${layer_stamp}
  DEPENDS ${CMAKE_CURRENT_LIST_FILE} ${layer_files}
  COMMENT "Checking that widgets/ and platform/ include no window"
  VERBATIM)
add_custom_target(layer_check DEPENDS ${layer_stamp})
add_dependencies(lexiwidgets layer_check)
