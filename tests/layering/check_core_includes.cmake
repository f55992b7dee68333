# Fails when a source file in one of the core folders includes a Qt header or a header of the
# toolkit, the windows or the program's start, or when a core folder's CMakeLists links Qt or
# those libraries. The core folders hold the logic that the command line, the fuzz targets and
# the Qt-free tests build without Qt.
#
# cmake -DROOT=<folder> -DFOLDERS="text;settings;..." -P check_core_includes.cmake
if(NOT ROOT OR NOT FOLDERS)
  message(FATAL_ERROR "ROOT and FOLDERS are required")
endif()

set(include_pattern
    "#[ \t]*include[ \t]*[<\"](Q[A-Za-z0-9_]*[>\"/]|q[a-z0-9_]*\\.h>|toolkit/|ui/|app/)")
set(link_pattern "Qt[56]?::|velmora_toolkit|velmora_ui|velmora_app|velmora_window")
set(problems "")
foreach(folder IN LISTS FOLDERS)
  if(NOT IS_DIRECTORY "${ROOT}/${folder}")
    string(APPEND problems "  ${folder}: no such folder\n")
    continue()
  endif()
  file(GLOB_RECURSE sources "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.hpp"
       "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.cc")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" lines REGEX "${include_pattern}")
    foreach(line IN LISTS lines)
      file(RELATIVE_PATH shown "${ROOT}" "${source}")
      string(APPEND problems "  ${shown}: ${line}\n")
    endforeach()
  endforeach()
  if(EXISTS "${ROOT}/${folder}/CMakeLists.txt")
    file(STRINGS "${ROOT}/${folder}/CMakeLists.txt" lines REGEX "${link_pattern}")
    foreach(line IN LISTS lines)
      string(APPEND problems "  ${folder}/CMakeLists.txt: ${line}\n")
    endforeach()
  endif()
endforeach()

if(problems)
  message(FATAL_ERROR "Core code reaches Qt or the window code:\n${problems}")
endif()
