# fuente_debian(PAQUETE FUENTE VARIABLE): the source of the Debian package FUENTE, at the version
# of the installed PAQUETE, unpacked under the build folder once; VARIABLE names its folder.
function(fuente_debian paquete fuente variable)
  execute_process(COMMAND dpkg-query -W -f=\${source:Version} ${paquete}
                  OUTPUT_VARIABLE version RESULT_VARIABLE r)
  if(NOT r EQUAL 0 OR version STREQUAL "")
    message(FATAL_ERROR "${paquete} is not installed: run scripts/setup")
  endif()
  set(carpeta ${CMAKE_BINARY_DIR}/fuentes/${fuente})
  file(GLOB hecho LIST_DIRECTORIES true ${carpeta}/${fuente}-*)
  if(NOT hecho)
    file(MAKE_DIRECTORY ${carpeta})
    message(STATUS "Fetching Debian's source of ${fuente} ${version}")
    execute_process(COMMAND apt-get source -qq ${fuente}=${version}
                    WORKING_DIRECTORY ${carpeta} RESULT_VARIABLE r OUTPUT_QUIET ERROR_VARIABLE e)
    if(NOT r EQUAL 0)
      # A security update whose source the mirror lacks: the release's own version.
      file(STRINGS /etc/os-release codigo REGEX "^VERSION_CODENAME=")
      string(REPLACE "VERSION_CODENAME=" "" codigo "${codigo}")
      execute_process(COMMAND apt-get source -qq ${fuente}/${codigo}
                      WORKING_DIRECTORY ${carpeta} RESULT_VARIABLE r OUTPUT_QUIET ERROR_VARIABLE e)
    endif()
    file(GLOB hecho LIST_DIRECTORIES true ${carpeta}/${fuente}-*)
    if(NOT r EQUAL 0 OR NOT hecho)
      message(FATAL_ERROR "apt-get source ${fuente}=${version} failed (a deb-src entry is "
                          "needed: run scripts/setup):\n${e}")
    endif()
  endif()
  list(FILTER hecho EXCLUDE REGEX "\\.(tar|dsc)")
  list(GET hecho 0 primero)
  set(${variable} ${primero} PARENT_SCOPE)
endfunction()
