# First-run preset of a fresh program folder: the administrator starts on
# the sample library. Runs at every build but never replaces what is
# already there, so a learner's progress and settings survive rebuilds.
#   -DLXTOOL=... -DPROGRAM_DIR=... -DINIT_SOURCE=... -DSAMPLE=...
if(NOT EXISTS "${PROGRAM_DIR}/init.ini")
  execute_process(COMMAND "${LXTOOL}" encode "${INIT_SOURCE}" "${PROGRAM_DIR}/init.ini" --utf8
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "could not write ${PROGRAM_DIR}/init.ini")
  endif()
endif()
get_filename_component(sample_name "${SAMPLE}" NAME)
if(NOT EXISTS "${PROGRAM_DIR}/users/user0/${sample_name}")
  file(COPY "${SAMPLE}" DESTINATION "${PROGRAM_DIR}/users/user0")
endif()
