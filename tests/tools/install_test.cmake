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
       share/icons/hicolor/scalable/apps/tripconf.svg)
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
