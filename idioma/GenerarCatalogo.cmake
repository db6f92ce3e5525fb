# Turns a gettext catalogue (en.po) into a C++ table compiled into the program, so that no file
# is looked up at run time and no locale has to be generated on the machine.
#   cmake -DPO=en.po -DSALIDA=CatalogoIngles.inc -P GenerarCatalogo.cmake
# PO strings are C string literals already: their quoted pieces are copied into the table as
# they stand. Fuzzy entries are kept, marked, so that the catalogue's test can name them; the
# program never uses them.
if(NOT PO OR NOT SALIDA)
  message(FATAL_ERROR "usage: cmake -DPO=file.po -DSALIDA=table.inc -P GenerarCatalogo.cmake")
endif()

file(READ "${PO}" contenido)
# A CMake list splits on ';' and groups on brackets: hide both before splitting into lines.
string(REPLACE ";" "@PUNTO_Y_COMA@" contenido "${contenido}")
string(REPLACE "[" "@ABRE@" contenido "${contenido}")
string(REPLACE "]" "@CIERRA@" contenido "${contenido}")
string(REPLACE "\r" "" contenido "${contenido}")
string(REPLACE "\n" ";" lineas "${contenido}")

set(tabla "")
set(id "")
set(str "")
set(campo "")
set(dudosa false)
set(obsoleta false)
set(numero 0)

macro(cerrar_entrada)
  # The header entry is the one whose msgid is the empty string.
  if(NOT obsoleta AND NOT id STREQUAL "" AND NOT id STREQUAL "\"\"")
    string(APPEND tabla "    {${id},\n     ${str}, ${dudosa}},\n")
  endif()
  set(id "")
  set(str "")
  set(campo "")
  set(dudosa false)
  set(obsoleta false)
endmacro()

foreach(linea IN LISTS lineas)
  math(EXPR numero "${numero} + 1")
  string(STRIP "${linea}" linea)
  if(linea STREQUAL "")
    cerrar_entrada()
  elseif(linea MATCHES "^#~")
    set(obsoleta true)
  elseif(linea MATCHES "^#,")
    if(linea MATCHES "fuzzy")
      set(dudosa true)
    endif()
  elseif(linea MATCHES "^#")
    # translator and reference comments
  elseif(linea MATCHES "^(msgid|msgstr) +(\".*\")$")
    if(CMAKE_MATCH_1 STREQUAL "msgid" AND NOT str STREQUAL "")
      cerrar_entrada() # entries not parted by a blank line
    endif()
    set(campo ${CMAKE_MATCH_1})
    set(trozo "${CMAKE_MATCH_2}")
    if(campo STREQUAL "msgid")
      set(id "${trozo}")
    else()
      set(str "${trozo}")
    endif()
  elseif(linea MATCHES "^\".*\"$")
    if(campo STREQUAL "msgid")
      string(APPEND id " ${linea}")
    elseif(campo STREQUAL "msgstr")
      string(APPEND str " ${linea}")
    else()
      message(FATAL_ERROR "${PO}:${numero}: a string outside msgid or msgstr")
    endif()
  else()
    message(FATAL_ERROR "${PO}:${numero}: not understood (contexts and plurals are not used here): ${linea}")
  endif()
endforeach()
cerrar_entrada()

string(REPLACE "@PUNTO_Y_COMA@" ";" tabla "${tabla}")
string(REPLACE "@ABRE@" "[" tabla "${tabla}")
string(REPLACE "@CIERRA@" "]" tabla "${tabla}")

set(texto "// Generated from ${PO} by GenerarCatalogo.cmake; edit the .po, not this file.\n")
string(APPEND texto "${tabla}")
file(WRITE "${SALIDA}" "${texto}")
