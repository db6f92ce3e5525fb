# Turns the names tables of nombres/ into C++ strings compiled in, so that every program, the page
# included, has them without files beside it. The files are copied as they stand, byte for byte.
#   cmake -DTABLAS="nombres/tr1.tsv;nombres/tr2.tsv" -DSALIDA=NombresIncluidos.cpp -P GenerarNombres.cmake
# Each tN.tsv becomes nombres_incluidos::TN.
if(NOT TABLAS OR NOT SALIDA)
  message(FATAL_ERROR "usage: cmake -DTABLAS=a.tsv;b.tsv -DSALIDA=file.cpp -P GenerarNombres.cmake")
endif()

set(declaraciones "")
set(definiciones "")
foreach(tabla IN LISTS TABLAS)
  get_filename_component(nombre "${tabla}" NAME_WE)
  string(TOUPPER "${nombre}" nombre)
  file(READ "${tabla}" texto)
  # Kept in a raw literal: only its closing sequence could end it early.
  string(FIND "${texto}" ")tsv\"" cierre)
  if(NOT cierre EQUAL -1)
    message(FATAL_ERROR "${tabla} holds the sequence that closes its literal")
  endif()
  string(APPEND declaraciones "extern const char* const ${nombre};\n")
  string(APPEND definiciones "const char* const ${nombre} = R\"tsv(${texto})tsv\";\n")
endforeach()

file(WRITE "${SALIDA}"
  "// Made by level/GenerarNombres.cmake from level/nombres: edit those files, not this one.\n"
  "namespace nombres_incluidos {\n${declaraciones}${definiciones}} // namespace nombres_incluidos\n")
