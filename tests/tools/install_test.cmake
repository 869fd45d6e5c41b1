# Installs the build into a fresh prefix and checks what arrived there: the
# programs (which run from there), the desktop entry, the icon and the udev
# example, and nothing of the tests, benchmarks or static libraries.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${WORK}
                OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${err}")
endif()

set(expected bin/tripctl bin/tripsim share/doc/tripconf/60-tripconf-usb-serial.rules share/doc/tripconf/README.md)
if(GUI)
  list(APPEND expected bin/tripconf share/applications/tripconf.desktop
       share/icons/hicolor/scalable/apps/tripconf.svg share/mime/packages/tripconf.xml)
endif()
file(GLOB_RECURSE installed RELATIVE ${WORK} ${WORK}/*)
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed:\n  ${installed}\nexpected:\n  ${expected}")
endif()

file(STRINGS ${WORK}/share/doc/tripconf/60-tripconf-usb-serial.rules rules)
foreach(chip 0403:6001 1a86:7523 10c4:ea60 067b:2303)
  string(REPLACE ":" ";" ids ${chip})
  list(GET ids 0 vendor)
  list(GET ids 1 product)
  list(FIND rules "ATTRS{idVendor}==\"${vendor}\", ATTRS{idProduct}==\"${product}\", MODE=\"0660\", GROUP=\"dialout\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"" at)
  if(at LESS 0)
    message(FATAL_ERROR "the udev example has no complete rule for ${chip}")
  endif()
endforeach()

execute_process(COMMAND ${WORK}/bin/tripctl --version OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "tripctl ${VERSION}\n")
  message(FATAL_ERROR "installed tripctl --version: rc=${rc} \"${out}\"")
endif()

if(GUI)
  # The desktop entry opens settings files, and the type it names is the one
  # the installed MIME package gives *.kelmg.
  file(STRINGS ${WORK}/share/applications/tripconf.desktop entry)
  if(NOT "Exec=tripconf %f" IN_LIST entry OR NOT "MimeType=application/x-tripconf-settings;" IN_LIST entry)
    message(FATAL_ERROR "the desktop entry does not open settings files:\n  ${entry}")
  endif()
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${WORK}/share/applications/tripconf.desktop
                    OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
      message(FATAL_ERROR "desktop-file-validate: ${out}")
    endif()
  endif()
  find_program(UPDATE_MIME_DATABASE update-mime-database)
  if(UPDATE_MIME_DATABASE)
    # Built beside the tree, so that the tree holds only what was installed.
    set(mime ${WORK}-mime)
    file(REMOVE_RECURSE ${mime})
    file(COPY ${WORK}/share/mime/packages DESTINATION ${mime})
    execute_process(COMMAND ${UPDATE_MIME_DATABASE} ${mime} OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc)
    file(STRINGS ${mime}/globs2 globs REGEX "kelmg")
    if(NOT rc EQUAL 0 OR NOT globs MATCHES "application/x-tripconf-settings:\\*\\.kelmg")
      message(FATAL_ERROR "update-mime-database: rc=${rc} ${out}\n  globs: ${globs}")
    endif()
  endif()
endif()
