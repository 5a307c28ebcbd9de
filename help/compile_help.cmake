# Compiles one help project into its .chm file (cmake -P, called by the build):
#   -DSOURCE_DIR=help sources  -DSTAGE_DIR=scratch folder  -DPROJECT=project name without .hhp
#   -DOUTPUT=the .chm to write  -DCHMCMD=chmcmd  -DNORMALIZE=velmark-chm-normalize
#   -DGENERATE=a program that writes the project into the scratch folder (optional; it is
#    called with the source and scratch folders)
# chmcmd writes its output into the current directory and reads the sources relative to the
# project file, so the sources are copied into a scratch folder and compiled there. Any
# warning it prints (a link to a missing file, an alias without its file) fails the build.
file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR})
file(COPY ${SOURCE_DIR}/ DESTINATION ${STAGE_DIR}
  FILES_MATCHING PATTERN "*.hhp" PATTERN "*.hhc" PATTERN "*.hhk" PATTERN "*.h" PATTERN "*.css"
  PATTERN "*.html" PATTERN "*.png")
if(GENERATE)
  execute_process(COMMAND ${GENERATE} ${SOURCE_DIR} ${STAGE_DIR}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "The help project ${PROJECT} could not be made:\n${output}${errors}")
  endif()
endif()
execute_process(COMMAND ${CHMCMD} ${PROJECT}.hhp
  WORKING_DIRECTORY ${STAGE_DIR}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR "${output}${errors}" MATCHES "Warning|Error|corrupt|not found"
   OR NOT EXISTS ${STAGE_DIR}/${PROJECT}.chm)
  message(FATAL_ERROR "chmcmd could not compile the help ${PROJECT}:\n${output}${errors}")
endif()
execute_process(COMMAND ${NORMALIZE} ${STAGE_DIR}/${PROJECT}.chm RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "velmark-chm-normalize failed on the compiled help ${PROJECT}")
endif()
file(COPY_FILE ${STAGE_DIR}/${PROJECT}.chm ${OUTPUT})
