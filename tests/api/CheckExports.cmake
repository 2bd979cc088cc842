# The shared library exports the plain entry points and the static members of CScnMgr, nothing else.
execute_process(COMMAND nm -D --defined-only -C ${LIBRARY} OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[TWDBVR] [^\n]+" entries "${symbols}")
set(expected
  "NvScn::CScnMgr::checkFormat(NvScn::CScnStream*, char*, int)"
  "NvScn::CScnMgr::checkFormat2(NvScn::CScnStream*, NvScn::eReadability*, NvScn::CScnVersion*, char*, int)"
  "NvScn::CScnMgr::doImportReference(NvScn::CScnMgr*, NvScn::CScnMgr*, int)"
  "NvScn::CScnMgr::getExtendedScnVersion()"
  "NvScn::CScnMgr::getFileTypeList()"
  "NvScn::CScnMgr::getSCNVersion()"
  "NvScn::CScnMgr::newCScnMgr(NvScn::EVersionSCN, NvScn::CScnFeedback*, NvScn::CScnExtStorage*)"
  "NvScn::CScnMgr::readFileInfo(NvScn::CScnStream*)"
  "NvScn::CScnMgr::readPreviewImage(NvScn::CScnStream*)"
  "scn_check_format" "scn_check_format2" "scn_get_extended_version" "scn_get_file_type_list"
  "scn_get_version" "scn_new_mgr" "scn_read_preview_image" "scn_set_diagnostic_sink")
set(found)
foreach(entry ${entries})
  string(REGEX REPLACE "^[TWDBVR] " "" name "${entry}")
  list(APPEND found "${name}")
endforeach()
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  string(REPLACE ";" "\n  " shown "${found}")
  message(FATAL_ERROR "exported symbols differ from the entry points:\n  ${shown}")
endif()
list(LENGTH found count)
message(STATUS "${count} exported entry points, nothing else")
