# Installation and the Debian package.
#
#   cmake --install build --prefix P    the program, lxtool and the shipped
#                                       files into any prefix
#   cmake --build build --target package
#                                       lexilark_<version>_amd64.deb (CPack)
#
# An installed program keeps each learner's files in their own data folder
# (~/.local/share/Lexilark), laid out at its first start from the shipped
# files in <prefix>/share/lexilark; the shipped files themselves are never
# written. Build the package with -DLEXILARK_TESTS=OFF, so that the program
# holds nothing of the tests.
include(GNUInstallDirs)
set(LEXILARK_PACKAGE_VERSION ${PROJECT_VERSION} CACHE STRING "Version of the installed program and its package")
set(LEXILARK_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/lexilark)
set(LEXILARK_APP_ID io.github.lexilark.Lexilark)

install(TARGETS lexilark lxtool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The shipped files, each where the program folder has it.
foreach(file ${LEXILARK_PROGRAM_OUTPUTS} ${LEXILARK_PROGRAM_DIR}/tonefont-license.txt)
  if(file MATCHES "tonefont-license.txt$" AND NOT EXISTS ${LEXILARK_TONEFONT_SOURCE})
    continue()
  endif()
  file(RELATIVE_PATH relative ${LEXILARK_PROGRAM_DIR} ${file})
  get_filename_component(folder ${relative} DIRECTORY)
  install(FILES ${file} DESTINATION ${LEXILARK_SHARE_DIR}/${folder})
endforeach()

# A new learner's start: the preset init.ini (only the administrator, no
# password) and the administrator's own copy of the sample library, as a
# fresh portable folder has them.
set(preset_dir ${CMAKE_BINARY_DIR}/preset)
set(sample ${LEXILARK_PROGRAM_DIR}/wordlib/日语N5词汇.lx)
add_custom_command(OUTPUT ${preset_dir}/init.ini
  COMMAND ${CMAKE_COMMAND} -E make_directory ${preset_dir}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${preset_dir}/init.ini
  COMMAND $<TARGET_FILE:lxtool> encode ${CMAKE_SOURCE_DIR}/data/preset/init.txt ${preset_dir}/init.ini --utf8
  DEPENDS ${CMAKE_SOURCE_DIR}/data/preset/init.txt lxtool VERBATIM)
install(FILES ${preset_dir}/init.ini DESTINATION ${LEXILARK_SHARE_DIR})
install(FILES ${sample} DESTINATION ${LEXILARK_SHARE_DIR}/users/user0)

# The desktop: menu entry, icon (drawn in data/desktop/lexilark.svg, the
# PNG sizes rendered from it), AppStream description, manual pages.
set(desktop_dir ${CMAKE_BINARY_DIR}/desktop)
set(desktop_outputs ${preset_dir}/init.ini)
find_program(LEXILARK_RSVG rsvg-convert)
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/lexilark.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${LEXILARK_APP_ID}.svg)
if(LEXILARK_RSVG)
  foreach(size 16 24 32 48 64 128 256)
    set(png ${desktop_dir}/icons/${size}/${LEXILARK_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${desktop_dir}/icons/${size}
      COMMAND ${LEXILARK_RSVG} -w ${size} -h ${size} ${CMAKE_SOURCE_DIR}/data/desktop/lexilark.svg -o ${png}
      DEPENDS ${CMAKE_SOURCE_DIR}/data/desktop/lexilark.svg VERBATIM)
    list(APPEND desktop_outputs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
else()
  message(WARNING "rsvg-convert (Debian package librsvg2-bin) not found: only the scalable icon is installed")
endif()
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/${LEXILARK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${CMAKE_SOURCE_DIR}/data/desktop/${LEXILARK_APP_ID}.metainfo.xml
               ${desktop_dir}/${LEXILARK_APP_ID}.metainfo.xml @ONLY)
install(FILES ${desktop_dir}/${LEXILARK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages, compressed as Debian keeps them: lexilark's written by
# hand, lxtool's made from its --help.
find_program(LEXILARK_HELP2MAN help2man)
set(man_pages ${CMAKE_SOURCE_DIR}/data/desktop/lexilark.1)
if(LEXILARK_HELP2MAN)
  add_custom_command(OUTPUT ${desktop_dir}/lxtool.1
    COMMAND ${LEXILARK_HELP2MAN} --no-info --no-discard-stderr --version-string=${LEXILARK_PACKAGE_VERSION}
            "--name=make and inspect Lexilark data files" $<TARGET_FILE:lxtool> -o ${desktop_dir}/lxtool.1
    DEPENDS lxtool VERBATIM)
  list(APPEND man_pages ${desktop_dir}/lxtool.1)
else()
  message(WARNING "help2man not found: the manual page of lxtool is not made")
endif()
foreach(page ${man_pages})
  get_filename_component(name ${page} NAME)
  add_custom_command(OUTPUT ${desktop_dir}/${name}.gz
    COMMAND gzip -9n -c ${page} > ${desktop_dir}/${name}.gz
    DEPENDS ${page})
  list(APPEND desktop_outputs ${desktop_dir}/${name}.gz)
  install(FILES ${desktop_dir}/${name}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# What Debian asks of every package: the copyright and a changelog.
file(WRITE ${desktop_dir}/changelog.in
     "lexilark (${LEXILARK_PACKAGE_VERSION}) stable; urgency=medium\n\n"
     "  * Lexilark ${LEXILARK_PACKAGE_VERSION}.\n\n"
     " -- The Lexilark developers <maintainers@users.noreply.c-seed-833b5782.example>  Thu, 10 Dec 2026 12:00:00 +0000\n")
configure_file(${desktop_dir}/changelog.in ${desktop_dir}/changelog COPYONLY)
add_custom_command(OUTPUT ${desktop_dir}/changelog.gz
  COMMAND gzip -9n -c ${desktop_dir}/changelog > ${desktop_dir}/changelog.gz
  DEPENDS ${desktop_dir}/changelog)
list(APPEND desktop_outputs ${desktop_dir}/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/copyright ${desktop_dir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lexilark)
add_custom_target(desktop_files ALL DEPENDS ${desktop_outputs})
add_dependencies(desktop_files program_folder)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lexilark)
set(CPACK_PACKAGE_VERSION ${LEXILARK_PACKAGE_VERSION})
set(CPACK_PACKAGE_CONTACT "The Lexilark developers <maintainers@users.noreply.c-seed-833b5782.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese vocabulary trainer for Chinese-speaking learners")
set(CPACK_PACKAGE_DESCRIPTION
    "澜悦单词 (Lexilark) helps Chinese-speaking learners memorise Japanese words.
A learner picks a word library, divides it into groups and studies word by
word: sees the word in one of four read modes, types it from memory and moves
it up or down through six grades. JLPT N5 and N4 libraries with readings and
example sentences are included; lxtool makes new libraries from word lists.
Each account keeps its own progress in ~/.local/share/Lexilark.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps; the Chinese face, Qt's Chinese
# dialog texts and a viewer for the CHM manual are found at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, qt6-translations-l10n, xchm | xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
