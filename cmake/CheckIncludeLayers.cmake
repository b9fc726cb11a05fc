# Fails when a source file includes a header of a folder above its own.
# Run as a test: cmake -DSOURCE_DIR=<src> -P CheckIncludeLayers.cmake
#
# The layers from the bottom up; folders on one line of the list share a rank
# and may not include each other (the model families and the two front ends).
set(KESTRA_LAYERS
  "core"
  "settings"
  "results"
  "modelset;mf2005;mf6"
  "tracking"
  "modpath"
  "graphics"
  "export"
  "session"
  "render"
  "app;cli"
  "tools")

set(rank 0)
foreach(layer IN LISTS KESTRA_LAYERS)
  foreach(folder IN LISTS layer)
    set(rank_${folder} ${rank})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()
file(GLOB_RECURSE sources "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(violations "")
foreach(source IN LISTS sources)
  file(RELATIVE_PATH relative "${SOURCE_DIR}" "${source}")
  string(REGEX MATCH "^[^/]+" own "${relative}")
  if(NOT DEFINED rank_${own})
    string(APPEND violations "\n  ${relative}: folder ${own} is in no layer")
    continue()
  endif()
  file(STRINGS "${source}" includes REGEX "^#include \"[^/\"]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^/\"]+)/.*" "\\1" target "${line}")
    if(target STREQUAL own)
      continue()
    endif()
    if(NOT DEFINED rank_${target})
      string(APPEND violations "\n  ${relative}: includes from ${target}, which is in no layer")
    elseif(rank_${target} GREATER rank_${own})
      string(APPEND violations "\n  ${relative}: ${own} includes from ${target}, a layer above it")
    elseif(rank_${target} EQUAL rank_${own})
      string(APPEND violations "\n  ${relative}: ${own} includes from ${target}, a folder beside it")
    endif()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes that point up or sideways:${violations}")
endif()
