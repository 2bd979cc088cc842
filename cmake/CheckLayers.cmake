# The layer check: imports flow one way, platform <- xml <- model (with shaders beside it) <-
# document, which holds the entry points; library/api is includable by every layer and includes
# nothing but itself; the add-on sees the library's public headers only. Every #include of a
# source or header is resolved as the compiler resolves it (the including file's folder, then
# library/, then library/api/), and an include of a higher layer is a violation. Tests, tools,
# benchmarks and samples may include anything.
#
#   cmake -DROOT=<source tree> -P CheckLayers.cmake
#
# Prints one line per violation ("<file>:<line>: the <layer> layer includes <header> of the
# <layer> layer") and fails when there is one.

if(NOT ROOT)
  message(FATAL_ERROR "CheckLayers.cmake: set ROOT to the source tree")
endif()

# Rank of each library layer; a file may include its own rank and below. The materials of model
# hold shader trees and the shader nodes use the model's field lists, so shaders stands beside it.
set(rank_platform 0)
set(rank_xml 1)
set(rank_model 2)
set(rank_shaders 2)
set(rank_document 3)
set(library_layers platform xml model shaders document)

# Sets out_layer to the library layer (or "api") of the header that `include` names from a file in
# folder `dir`, or to "" when it is not a library header.
function(resolve_include dir include out_layer)
  set(layer "")
  if(EXISTS "${dir}/${include}")
    file(RELATIVE_PATH relative "${ROOT}/library" "${dir}/${include}")
    string(REGEX MATCH "^[^/.][^/]*" first "${relative}")
    if(first AND NOT relative MATCHES "^\\.\\.")
      set(layer "${first}")
    endif()
  elseif(EXISTS "${ROOT}/library/${include}")
    string(REGEX MATCH "^[^/]+" layer "${include}")
  elseif(EXISTS "${ROOT}/library/api/${include}")
    set(layer api)
  endif()
  set(${out_layer} "${layer}" PARENT_SCOPE)
endfunction()

# Appends to the parent's `violations` every include of `path` that `allowed` (a command that sets
# `ok` for a layer) refuses; `own` names the file's layer in the messages.
function(check_file path own)
  get_filename_component(dir "${path}" DIRECTORY)
  file(RELATIVE_PATH shown "${ROOT}" "${path}")
  # One list entry per line: the characters that CMake lists give a meaning to are replaced first.
  file(READ "${path}" content)
  string(REPLACE "\\" "/" content "${content}")
  string(REPLACE ";" "," content "${content}")
  string(REPLACE "[" "(" content "${content}")
  string(REPLACE "]" ")" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(number 0)
  set(found "")
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">]")
      continue()
    endif()
    set(include "${CMAKE_MATCH_1}")
    resolve_include("${dir}" "${include}" layer)
    if(layer STREQUAL "" OR layer STREQUAL own)
      continue()
    endif()
    set(refused FALSE)
    if(own STREQUAL "addon")
      if(NOT layer STREQUAL "api")
        set(refused TRUE)
      endif()
    elseif(own STREQUAL "api")
      set(refused TRUE)
    elseif(NOT layer STREQUAL "api")
      if(NOT DEFINED rank_${layer} OR rank_${layer} GREATER rank_${own})
        set(refused TRUE)
      endif()
    endif()
    if(refused)
      list(APPEND found "${shown}:${number}: the ${own} layer includes ${include} of the ${layer} layer")
    endif()
  endforeach()
  set(violations ${violations} ${found} PARENT_SCOPE)
endfunction()

set(violations "")
foreach(own IN LISTS library_layers ITEMS api)
  file(GLOB_RECURSE sources "${ROOT}/library/${own}/*.h" "${ROOT}/library/${own}/*.cpp")
  foreach(path IN LISTS sources)
    check_file("${path}" "${own}")
  endforeach()
endforeach()
file(GLOB_RECURSE addon_sources "${ROOT}/addon/*.h" "${ROOT}/addon/*.cpp")
foreach(path IN LISTS addon_sources)
  check_file("${path}" addon)
endforeach()

if(violations)
  list(JOIN violations "\n" text)
  message("${text}")
  list(LENGTH violations count)
  message(FATAL_ERROR "${count} include(s) against the layers")
endif()
message(STATUS "layers hold")
