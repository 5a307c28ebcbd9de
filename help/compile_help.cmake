# Compiles the help project into VELMARK_TRANSLATION.chm (cmake -P, called by the build):
#   -DSOURCE_DIR=help sources  -DSTAGE_DIR=scratch folder  -DOUTPUT=the .chm to write
#   -DCHMCMD=chmcmd  -DNORMALIZE=velmark-chm-normalize
# chmcmd writes its output into the current directory and reads the sources relative to the
# project file, so the sources are copied into a scratch folder and compiled there. Any
# warning it prints (a link to a missing file, an alias without its file) fails the build.
file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR})
file(COPY ${SOURCE_DIR}/ DESTINATION ${STAGE_DIR}
  FILES_MATCHING PATTERN "*.hhp" PATTERN "*.hhc" PATTERN "*.hhk" PATTERN "*.h" PATTERN "*.css"
  PATTERN "*.html" PATTERN "*.png")
execute_process(COMMAND ${CHMCMD} VELMARK_TRANSLATION.hhp
  WORKING_DIRECTORY ${STAGE_DIR}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR "${output}${errors}" MATCHES "Warning|Error|corrupt|not found"
   OR NOT EXISTS ${STAGE_DIR}/VELMARK_TRANSLATION.chm)
  message(FATAL_ERROR "chmcmd could not compile the help:\n${output}${errors}")
endif()
execute_process(COMMAND ${NORMALIZE} ${STAGE_DIR}/VELMARK_TRANSLATION.chm RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "velmark-chm-normalize failed on the compiled help")
endif()
file(COPY_FILE ${STAGE_DIR}/VELMARK_TRANSLATION.chm ${OUTPUT})
