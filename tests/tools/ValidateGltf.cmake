# Exports the demo house as .glb and .gltf and runs the Khronos glTF validator on both under
# node; the validator is installed with npm into WORK_DIR on first use. Without node, npm or the
# registry the test is skipped with the reason.
# Inputs: SAMPLE (the demo program), SCNTOOL, SCRIPT (validate-gltf.js), WORK_DIR.
find_program(NODE node)
find_program(NPM npm)
if(NOT NODE OR NOT NPM)
  message("SKIPPED: node and npm are needed to run the glTF validator")
  return()
endif()
file(MAKE_DIRECTORY ${WORK_DIR})
if(NOT EXISTS ${WORK_DIR}/node_modules/gltf-validator/package.json)
  execute_process(COMMAND ${NPM} install --prefix ${WORK_DIR} --no-audit --no-fund --loglevel=error gltf-validator
    RESULT_VARIABLE installed OUTPUT_VARIABLE output ERROR_VARIABLE output TIMEOUT 300)
  if(NOT installed EQUAL 0)
    message("SKIPPED: npm cannot install gltf-validator: ${output}")
    return()
  endif()
endif()
execute_process(COMMAND ${SAMPLE} ${WORK_DIR}/house.scn RESULT_VARIABLE made OUTPUT_QUIET)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "the demo program failed: ${made}")
endif()
foreach(kind glb gltf)
  execute_process(COMMAND ${SCNTOOL} gltf ${WORK_DIR}/house.scn ${WORK_DIR}/house.${kind}
    RESULT_VARIABLE exported ERROR_VARIABLE reports)
  if(NOT exported EQUAL 0)
    message(FATAL_ERROR "scntool gltf failed for .${kind}: ${reports}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=${WORK_DIR}/node_modules ${NODE} ${SCRIPT} ${WORK_DIR}/house.${kind}
    RESULT_VARIABLE valid OUTPUT_VARIABLE report ERROR_VARIABLE report)
  message("house.${kind}: ${report}")
  if(NOT valid EQUAL 0)
    message(FATAL_ERROR "the glTF validator found errors in house.${kind}")
  endif()
endforeach()
