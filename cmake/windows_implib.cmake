# Writes the import library of a 32-bit DLL again, with the symbols a
# program built with the public headers references.
#
# The exports use the standard calling convention, whose symbols carry the
# size of their arguments (_QStrInit@4). The DLL exports them undecorated
# (QStrInit), and the import library the linker writes beside it names them
# undecorated too, where a caller's reference to _QStrInit@4 finds nothing
# and the program does not link. Here every function of the .def file is
# looked up in the DLL's symbol table and listed with its @N, and dlltool
# --kill-at makes the import library whose _NAME@N imports NAME. Data
# exports and aliases stay as they are.
#
#   cmake -DNM=... -DDLLTOOL=... -DDLL=QStr14.dll -DDEF=QStr14.def
#         -DIMPLIB=libQStr14.dll.a -P windows_implib.cmake
execute_process(COMMAND ${NM} --defined-only ${DLL} OUTPUT_VARIABLE _symbols RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${DLL}")
endif()
file(STRINGS ${DEF} _lines)
set(_text "")
set(_decorated 0)
foreach(line IN LISTS _lines)
  if(line MATCHES "^  ([A-Za-z_][A-Za-z0-9_]*)$")
    set(_name ${CMAKE_MATCH_1})
    if(_symbols MATCHES " _${_name}(@[0-9]+)\n")
      set(line "  ${_name}${CMAKE_MATCH_1}")
      math(EXPR _decorated "${_decorated} + 1")
    endif()
  endif()
  string(APPEND _text "${line}\n")
endforeach()
if(_decorated EQUAL 0)
  message(FATAL_ERROR "${DLL} has no _NAME@N symbols (stripped?): cannot write its import library")
endif()
file(WRITE ${IMPLIB}.def "${_text}")
get_filename_component(_dll_name ${DLL} NAME)
execute_process(COMMAND ${DLLTOOL} --kill-at --input-def ${IMPLIB}.def --dllname ${_dll_name}
                        --output-lib ${IMPLIB}
                RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "${DLLTOOL} failed on ${IMPLIB}.def")
endif()
