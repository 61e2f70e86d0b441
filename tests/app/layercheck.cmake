# Which folder may include which (run by CTest as tst_layers):
#   base/              nothing of the program outside base/
#   feature folders    never app/
#   the core and cli/  no QtWidgets or QtPrintSupport header, no ui_*.h, no
#                      header of the widgets library
#   sim/               only sim/: the tests' meter shares no code with the program
# Arguments: ROOT (the tree to look at), LISTS (a CMake file setting
# core_sources and widget_sources), QT_WIDGET_DIRS (the folders of the Qt
# headers that need QtWidgets). Prints every violation, then fails.
cmake_minimum_required(VERSION 3.16)

set(checked_folders base app link fleet items history firmware makersite monitor about cli sim)
set(program_folders ${checked_folders} bench tests)
set(feature_folders link fleet items history firmware makersite monitor about)

include(${LISTS})

# Names that need QtWidgets: <QDialog>, <qdialog.h>, <QtWidgets/QDialog>, ...
set(widget_headers)
foreach(dir ${QT_WIDGET_DIRS})
  get_filename_component(module ${dir} NAME)
  file(GLOB names RELATIVE ${dir} ${dir}/*)
  foreach(name ${names})
    list(APPEND widget_headers "<${name}>" "<${module}/${name}>")
  endforeach()
  list(APPEND widget_headers "<${module}>")
endforeach()

# A library's sources and headers as they are named in an include line.
function(include_names out)
  set(names)
  foreach(file ${ARGN})
    if(file MATCHES "\\.(cpp|h)$")
      file(RELATIVE_PATH name ${ROOT} ${file})
      list(APPEND names ${name})
    endif()
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()
include_names(widget_includes ${widget_sources})
include_names(core_files ${core_sources})

set(violations)
foreach(folder ${checked_folders})
  file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.h)
  list(SORT files)
  foreach(file ${files})
    file(STRINGS ${ROOT}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    string(REGEX REPLACE "/.*" "" own ${file})
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([<\"][^>\"]*[>\"]).*" "\\1" included "${line}")
      string(REGEX REPLACE "^[<\"]([^>\"]*)[>\"]$" "\\1" path "${included}")
      set(target_folder "")
      if(path MATCHES "^([^/]+)/")
        set(target_folder ${CMAKE_MATCH_1})
      endif()
      set(why "")
      if(own STREQUAL "base" AND target_folder IN_LIST program_folders AND NOT target_folder STREQUAL "base")
        set(why "base/ includes nothing outside base/")
      elseif(own IN_LIST feature_folders AND target_folder STREQUAL "app")
        set(why "a feature folder never includes app/")
      elseif(own STREQUAL "sim" AND target_folder IN_LIST program_folders AND NOT target_folder STREQUAL "sim")
        set(why "sim/ shares no code with the program")
      elseif(file IN_LIST core_files OR own STREQUAL "cli")
        if(included IN_LIST widget_headers OR path MATCHES "^ui_")
          set(why "the core and cli/ never need QtWidgets")
        elseif(path IN_LIST widget_includes)
          set(why "a header of the widgets library, not the core")
        endif()
      endif()
      if(why)
        list(APPEND violations "${file}: ${included}: ${why}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  foreach(violation ${violations})
    message("${violation}")
  endforeach()
  list(LENGTH violations count)
  message(FATAL_ERROR "${count} include(s) cross a layer (see docs/HACKING.md, Layers)")
endif()
message("layers: every include stays inside its allowed set")
