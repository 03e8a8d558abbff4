# Runs vesk on the shipped examples with --plot and has xmllint parse the SVG.
file(MAKE_DIRECTORY ${OUT})
file(GLOB basins ${EXAMPLES}/*.basin)
execute_process(COMMAND ${VESK} run ${basins} --rain ${EXAMPLES}/design_storm_2h.csv --plot ${OUT}/run.svg
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "vesk run failed (${status}):\n${output}\n${errors}")
endif()
execute_process(COMMAND ${XMLLINT} --noout ${OUT}/run.svg RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the SVG is not well-formed XML:\n${errors}")
endif()
