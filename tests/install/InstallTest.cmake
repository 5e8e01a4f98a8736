# Installs the build into PREFIX and runs the installed programs from there, with the user's
# home, settings and display out of the way: the programs must find their data under PREFIX.
function(run what)
  cmake_parse_arguments(ARG "" "OUTPUT" "COMMAND" ${ARGN})
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                          --unset=QT_QPA_PLATFORM HOME=${SCRATCH}/home
                          XDG_CONFIG_HOME=${SCRATCH}/home/.config
                          XDG_DATA_HOME=${SCRATCH}/home/.local/share
                          XDG_RUNTIME_DIR=${SCRATCH}/runtime ${ARG_COMMAND}
                  WORKING_DIRECTORY ${SCRATCH}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  if(ARG_OUTPUT)
    set(${ARG_OUTPUT} "${out}" PARENT_SCOPE)
  endif()
endfunction()

file(REMOVE_RECURSE ${PREFIX} ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH}/home ${SCRATCH}/runtime)
file(CHMOD ${SCRATCH}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}\n${err}")
endif()

set(id org.quillmark.Quillmark)
foreach(f bin/quillmark bin/quillmark-cli
          share/quillmark/data/palettes/DMC.ctb share/quillmark/data/fonts/KorvaldArtSymbols110.ttf
          share/applications/${id}.desktop share/mime/packages/${id}.xml
          share/icons/hicolor/scalable/apps/${id}.svg share/icons/hicolor/16x16/apps/${id}.png
          share/icons/hicolor/48x48/apps/${id}.png share/icons/hicolor/256x256/apps/${id}.png
          share/metainfo/${id}.metainfo.xml share/man/man1/quillmark.1 share/man/man1/quillmark-cli.1)
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "cmake --install did not install ${f}")
  endif()
endforeach()
file(READ ${PREFIX}/share/metainfo/${id}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<release version=\"${VERSION}\"")
  message(FATAL_ERROR "the installed metainfo does not name the release ${VERSION}")
endif()

# Both programs answer --version without a display.
run("quillmark-cli --version" COMMAND ${PREFIX}/bin/quillmark-cli --version OUTPUT out)
if(NOT out STREQUAL "quillmark-cli ${VERSION}\n")
  message(FATAL_ERROR "quillmark-cli --version said \"${out}\"")
endif()
run("quillmark --version" COMMAND ${PREFIX}/bin/quillmark --version OUTPUT out)
if(NOT out STREQUAL "quillmark ${VERSION}\n")
  message(FATAL_ERROR "quillmark --version said \"${out}\"")
endif()

# A conversion with the installed data: the first run writes the data folders into the
# settings, and they must be those under the prefix, not the source tree's.
run("quillmark-cli convert" COMMAND ${PREFIX}/bin/quillmark-cli --settings ${SCRATCH}/settings.ini
    convert ${SOURCE_DIR}/data/samples/chelsea.png -o ${SCRATCH}/chelsea.qvxp --size 30 --colors 12
    OUTPUT out)
file(READ ${SCRATCH}/chelsea.qvxp magic LIMIT 8 HEX)
if(NOT magic STREQUAL "4844534651565854") # "HDSF" "QVXT"
  message(FATAL_ERROR "the converted design does not start with the design file's magic")
endif()
file(READ ${SCRATCH}/settings.ini settings)
file(REAL_PATH ${PREFIX} real_prefix)
if(NOT settings MATCHES "PalettesPath=${real_prefix}/share/quillmark/data/palettes/")
  message(FATAL_ERROR "the installed program did not use the installed data:\n${settings}")
endif()
run("quillmark-cli info" COMMAND ${PREFIX}/bin/quillmark-cli --settings ${SCRATCH}/settings.ini
    info ${SCRATCH}/chelsea.qvxp OUTPUT out)
if(NOT out MATCHES "\"width\": *30")
  message(FATAL_ERROR "the converted design reads back wrongly:\n${out}")
endif()

# The manual pages are those the committed script makes from the installed programs' --help.
find_program(PYTHON3 python3)
if(PYTHON3)
  run("tools/make-manpages.py" COMMAND ${PYTHON3} ${SOURCE_DIR}/tools/make-manpages.py
      ${PREFIX}/bin ${SCRATCH}/man)
  foreach(page quillmark.1 quillmark-cli.1)
    file(READ ${SCRATCH}/man/${page} made)
    file(READ ${PREFIX}/share/man/man1/${page} installed)
    if(NOT made STREQUAL installed)
      message(FATAL_ERROR "dist/man/${page} no longer matches the --help text: run "
                          "tools/make-manpages.py after building")
    endif()
  endforeach()
endif()
message(STATUS "installed into ${PREFIX}: ok")
