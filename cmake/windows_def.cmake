# Writes the .def file of QStr14.dll from the export list.
set(QSTR14_DATA_EXPORTS rngchr coltbl diatbl)

function(qstr14_write_def_file export_list export_list_cxx def_file)
  file(STRINGS "${export_list}" _names REGEX "^[A-Za-z_]")
  set(_text "LIBRARY QStr14\nEXPORTS\n")
  foreach(name ${_names})
    if(name IN_LIST QSTR14_DATA_EXPORTS)
      string(APPEND _text "  ${name} DATA\n")
    else()
      string(APPEND _text "  ${name}\n")
    endif()
  endforeach()
  # char *__stdcall QcvtGetRegistryLoc(): the decorated name callers import,
  # an alias of the compiler's own name for the function.
  file(STRINGS "${export_list_cxx}" _cxx REGEX "^[A-Za-z_]")
  if(NOT "QcvtGetRegistryLoc()" IN_LIST _cxx)
  elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
    string(APPEND _text "  ?QcvtGetRegistryLoc@@YGPADXZ=_Z18QcvtGetRegistryLocv@0\n")
  else()
    string(APPEND _text "  ?QcvtGetRegistryLoc@@YAPEADXZ=_Z18QcvtGetRegistryLocv\n")
  endif()
  file(WRITE "${def_file}" "${_text}")
endfunction()

# On 32-bit Windows, writes the import library of TARGET again after the
# link so that it resolves the decorated names of the standard calling
# convention (cmake/windows_implib.cmake says why).
function(qstr14_decorated_import_library target def_file)
  if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL}
            -DDLL=$<TARGET_FILE:${target}> -DDEF=${def_file} -DIMPLIB=$<TARGET_LINKER_FILE:${target}>
            -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/windows_implib.cmake
    VERBATIM)
endfunction()
