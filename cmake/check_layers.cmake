# Fails when a file of src/ includes from a layer above its own. The layers,
# lowest first: core; import and raster beside each other; geometry (the
# exact shapes of the chained contours) above import; preview; assign;
# nc; judge (the check of a written program against the drawing); app;
# window. src/main.cpp sits on top and may include any of them.
# Within src/window each toolkit has its folder (qt, win32): a toolkit's
# files include from their own folder and from what src/window itself holds
# for both, never from the other toolkit's, and the shared files from
# neither.
#   cmake -DSOURCE_DIR=<repository> -P cmake/check_layers.cmake
cmake_minimum_required(VERSION 3.22)
set(_allowed_core core)
set(_allowed_import core import)
set(_allowed_raster core raster)
set(_allowed_geometry core import geometry)
set(_allowed_preview core import geometry raster preview)
set(_allowed_assign core import geometry raster preview assign)
set(_allowed_nc ${_allowed_assign} nc)
set(_allowed_judge ${_allowed_nc} judge)
set(_allowed_app ${_allowed_judge} app)
set(_allowed_window ${_allowed_app} window)

set(_faults "")
file(GLOB _layers LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*)
foreach(_layer ${_layers})
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/src/${_layer})
    continue()
  endif()
  if(NOT DEFINED _allowed_${_layer})
    string(APPEND _faults "src/${_layer}/ is no known layer\n")
    continue()
  endif()
  file(GLOB_RECURSE _files ${SOURCE_DIR}/src/${_layer}/*.h ${SOURCE_DIR}/src/${_layer}/*.cpp)
  foreach(_file ${_files})
    file(STRINGS ${_file} _includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
    foreach(_line ${_includes})
      string(REGEX REPLACE "^[^\"]*\"([^\"/]+)/.*$" "\\1" _target "${_line}")
      file(RELATIVE_PATH _rel ${SOURCE_DIR} ${_file})
      if(NOT _target IN_LIST _allowed_${_layer})
        string(APPEND _faults "${_rel}: ${_line} reaches up into ${_target}/\n")
      elseif(_layer STREQUAL "window" AND _line MATCHES "\"window/([^\"/]+)/")
        set(_toolkit ${CMAKE_MATCH_1})
        if(NOT _rel MATCHES "^src/window/${_toolkit}/")
          string(APPEND _faults "${_rel}: ${_line} reaches into the toolkit folder window/${_toolkit}/\n")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(_faults)
  message(FATAL_ERROR "includes from a layer above or from a toolkit's folder outside it:\n${_faults}")
endif()
