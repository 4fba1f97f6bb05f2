# Lays out the program folder beside the executable:
#   lexilark, init.ini (made by the program), users/user0..user5/,
#   wordlib/收藏库.lx and the shipped libraries, lx1.en..lx4.en, wav/,
#   start.ini (the help topics, from data/help/start.txt), example.txt (the
#   sample word list the import page shows, copied from data/ as it is),
#   lexilark.chm (the manual, compiled from data/manual/ with chmcmd),
#   tonefont.ttf (the Japanese font, with its licence as tonefont-license.txt).
# Library sources in data/wordlib/*.txt are the import text format (UTF-8).
# The content sources data/content/*.tsv (word, reading, meaning, sentences)
# become libraries too: `lxtool content` writes their import texts and
# merges their readings and sentences with the hand-written lists
# data/lists/lx2..lx4.txt; lx1.txt is taken as it is. lxtool then turns
# everything into the GBK, scrambled files the program reads.
set(LEXILARK_PROGRAM_DIR ${CMAKE_BINARY_DIR}/Lexilark)
if(TARGET lexilark)
  set_target_properties(lexilark PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LEXILARK_PROGRAM_DIR})
endif()

file(GLOB LEXILARK_LIBRARY_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/wordlib/*.txt)
file(GLOB LEXILARK_CONTENT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/content/*.tsv)
set(LEXILARK_CONTENT_DIR ${CMAKE_BINARY_DIR}/content)
set(LEXILARK_CONTENT_OUTPUTS ${LEXILARK_CONTENT_DIR}/lx2.txt ${LEXILARK_CONTENT_DIR}/lx3.txt
    ${LEXILARK_CONTENT_DIR}/lx4.txt)
foreach(src ${LEXILARK_CONTENT_SOURCES})
  get_filename_component(name ${src} NAME_WLE)
  list(APPEND LEXILARK_CONTENT_OUTPUTS ${LEXILARK_CONTENT_DIR}/${name}.txt)
  list(APPEND LEXILARK_LIBRARY_SOURCES ${LEXILARK_CONTENT_DIR}/${name}.txt)
endforeach()
add_custom_command(OUTPUT ${LEXILARK_CONTENT_OUTPUTS}
  COMMAND $<TARGET_FILE:lxtool> content ${LEXILARK_CONTENT_DIR} --lists ${CMAKE_SOURCE_DIR}/data/lists
          ${LEXILARK_CONTENT_SOURCES}
  DEPENDS ${LEXILARK_CONTENT_SOURCES} ${CMAKE_SOURCE_DIR}/data/lists/lx2.txt
          ${CMAKE_SOURCE_DIR}/data/lists/lx3.txt ${CMAKE_SOURCE_DIR}/data/lists/lx4.txt lxtool
  VERBATIM)

# NAME_WE would cut a library name that holds a dot; the name is the file
# name without its last extension.
set(LEXILARK_PROGRAM_OUTPUTS)
foreach(src ${LEXILARK_LIBRARY_SOURCES})
  get_filename_component(name ${src} NAME_WLE)
  set(out ${LEXILARK_PROGRAM_DIR}/wordlib/${name}.lx)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LEXILARK_PROGRAM_DIR}/wordlib
    COMMAND ${CMAKE_COMMAND} -E rm -f ${out}
    COMMAND $<TARGET_FILE:lxtool> import ${src} ${out} --utf8 --editor Lexilark --date 2026-12-10 --version 1.0
    DEPENDS ${src} lxtool VERBATIM)
  list(APPEND LEXILARK_PROGRAM_OUTPUTS ${out})
endforeach()
# The names of the shipped libraries, which the selection dialog never
# deletes; the learner's own libraries sit beside them in wordlib/.
set(LEXILARK_SHIPPED_LIBRARY_NAMES "")
foreach(src ${LEXILARK_LIBRARY_SOURCES})
  get_filename_component(name ${src} NAME_WLE)
  string(APPEND LEXILARK_SHIPPED_LIBRARY_NAMES "\"${name}.lx\",\n")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/shippedlibraries.inc
     CONTENT "${LEXILARK_SHIPPED_LIBRARY_NAMES}" @ONLY)
target_include_directories(lexicore PRIVATE ${CMAKE_BINARY_DIR}/generated)
foreach(src ${CMAKE_SOURCE_DIR}/data/lists/lx1.txt ${LEXILARK_CONTENT_DIR}/lx2.txt
            ${LEXILARK_CONTENT_DIR}/lx3.txt ${LEXILARK_CONTENT_DIR}/lx4.txt)
  get_filename_component(name ${src} NAME_WE)
  set(out ${LEXILARK_PROGRAM_DIR}/${name}.en)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LEXILARK_PROGRAM_DIR}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${out}
    COMMAND $<TARGET_FILE:lxtool> encode ${src} ${out} --utf8
    DEPENDS ${src} lxtool VERBATIM)
  list(APPEND LEXILARK_PROGRAM_OUTPUTS ${out})
endforeach()
# The help topics are plain GBK text with CR LF line breaks, not scrambled.
set(LEXILARK_HELP_SOURCE ${CMAKE_SOURCE_DIR}/data/help/start.txt)
if(EXISTS ${LEXILARK_HELP_SOURCE})
  set(out ${LEXILARK_PROGRAM_DIR}/start.ini)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LEXILARK_PROGRAM_DIR}
    COMMAND $<TARGET_FILE:lxtool> gbk ${LEXILARK_HELP_SOURCE} ${out}
    DEPENDS ${LEXILARK_HELP_SOURCE} lxtool VERBATIM)
  list(APPEND LEXILARK_PROGRAM_OUTPUTS ${out})
endif()
# A sample for the learner's text editor: UTF-8, which the import reads as
# well as GBK.
set(out ${LEXILARK_PROGRAM_DIR}/example.txt)
add_custom_command(OUTPUT ${out}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${LEXILARK_PROGRAM_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/example.txt ${out}
  DEPENDS ${CMAKE_SOURCE_DIR}/data/example.txt VERBATIM)
list(APPEND LEXILARK_PROGRAM_OUTPUTS ${out})
# The manual: HTML sources in UTF-8, each page given the head all pages
# share (cmake/ManualPage.cmake), turned into GBK (the code page the
# project file names) and compiled into one CHM file.
find_program(LEXILARK_CHMCMD chmcmd)
file(GLOB LEXILARK_MANUAL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/manual/*)
if(LEXILARK_CHMCMD AND LEXILARK_MANUAL_SOURCES)
  set(manual_dir ${CMAKE_BINARY_DIR}/manual)
  set(manual_gbk)
  foreach(src ${LEXILARK_MANUAL_SOURCES})
    get_filename_component(name ${src} NAME)
    if(name MATCHES "\\.html$")
      set(page ${manual_dir}/utf8/${name})
      add_custom_command(OUTPUT ${page}
        COMMAND ${CMAKE_COMMAND} -DSOURCE=${src} -DOUTPUT=${page} -P ${CMAKE_SOURCE_DIR}/cmake/ManualPage.cmake
        DEPENDS ${src} ${CMAKE_SOURCE_DIR}/cmake/ManualPage.cmake VERBATIM)
    else()
      set(page ${src})
    endif()
    add_custom_command(OUTPUT ${manual_dir}/${name}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${manual_dir}
      COMMAND $<TARGET_FILE:lxtool> gbk ${page} ${manual_dir}/${name}
      DEPENDS ${page} lxtool VERBATIM)
    list(APPEND manual_gbk ${manual_dir}/${name})
  endforeach()
  set(out ${LEXILARK_PROGRAM_DIR}/lexilark.chm)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${manual_dir}/lexilark.chm
    COMMAND ${LEXILARK_CHMCMD} --no-html-scan lexilark.hhp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LEXILARK_PROGRAM_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${manual_dir}/lexilark.chm ${out}
    WORKING_DIRECTORY ${manual_dir}
    DEPENDS ${manual_gbk} VERBATIM)
  list(APPEND LEXILARK_PROGRAM_OUTPUTS ${out})
else()
  message(WARNING "chmcmd (Debian package fp-utils) not found: lexilark.chm is not built")
endif()
# The Japanese font the program registers at start, with its licence.
if(EXISTS ${LEXILARK_TONEFONT_SOURCE})
  set(out ${LEXILARK_PROGRAM_DIR}/tonefont.ttf)
  add_custom_command(OUTPUT ${out} ${LEXILARK_PROGRAM_DIR}/tonefont-license.txt
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LEXILARK_PROGRAM_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${LEXILARK_TONEFONT_SOURCE} ${out}
    COMMAND ${CMAKE_COMMAND} -E copy ${LEXILARK_TONEFONT_LICENSE} ${LEXILARK_PROGRAM_DIR}/tonefont-license.txt
    DEPENDS ${LEXILARK_TONEFONT_SOURCE} VERBATIM)
  list(APPEND LEXILARK_PROGRAM_OUTPUTS ${out})
else()
  message(WARNING "${LEXILARK_TONEFONT_SOURCE} (Debian package fonts-ipaexfont-gothic) not found: tonefont.ttf is not shipped")
endif()
add_custom_target(program_folder ALL DEPENDS ${LEXILARK_PROGRAM_OUTPUTS})
add_custom_command(TARGET program_folder POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory
          ${LEXILARK_PROGRAM_DIR}/users/user0 ${LEXILARK_PROGRAM_DIR}/users/user1
          ${LEXILARK_PROGRAM_DIR}/users/user2 ${LEXILARK_PROGRAM_DIR}/users/user3
          ${LEXILARK_PROGRAM_DIR}/users/user4 ${LEXILARK_PROGRAM_DIR}/users/user5
          ${LEXILARK_PROGRAM_DIR}/wav
  COMMAND ${CMAKE_COMMAND} -DLXTOOL=$<TARGET_FILE:lxtool> -DPROGRAM_DIR=${LEXILARK_PROGRAM_DIR}
          -DINIT_SOURCE=${CMAKE_SOURCE_DIR}/data/preset/init.txt
          -DSAMPLE=${LEXILARK_PROGRAM_DIR}/wordlib/日语N5词汇.lx
          -P ${CMAKE_SOURCE_DIR}/cmake/PresetUser.cmake
  VERBATIM)
