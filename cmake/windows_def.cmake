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
