# Each program with --version, --help and bad command lines: the version of the
# build, help on stdout, usage on stderr with a non-zero exit; every option the
# help lists is in the README, and benchmark-only options are not listed.
cmake_minimum_required(VERSION 3.25)
file(READ ${README} readme)
set(failures "")

# run(PROGRAM EXPECTED_RC STREAM REGEX [ARGS...]): STREAM is out or err, the
# stream REGEX must match; the other stream must be empty on success.
function(run program rc stream regex)
  if(NOT DEFINED ${program})
    return()
  endif()
  execute_process(COMMAND ${${program}} ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE got
                  TIMEOUT 30)
  # Qt's own start-up notes are not the program's output.
  string(REGEX REPLACE "QStandardPaths: [^\n]*\n" "" err "${err}")
  set(text "${${stream}}")
  if(NOT got STREQUAL rc OR NOT text MATCHES "${regex}")
    string(APPEND failures "${program} ${ARGN}: rc=${got} (want ${rc}), ${stream} does not match \"${regex}\"\n"
           "  stdout: ${out}\n  stderr: ${err}\n")
  elseif(rc EQUAL 0 AND NOT err STREQUAL "")
    string(APPEND failures "${program} ${ARGN}: unexpected stderr: ${err}\n")
  elseif(NOT rc EQUAL 0 AND NOT out STREQUAL "")
    string(APPEND failures "${program} ${ARGN}: unexpected stdout: ${out}\n")
  endif()
  set(failures "${failures}" PARENT_SCOPE)
  set(last_out "${out}" PARENT_SCOPE)
endfunction()

# Every --option the help lists appears in the README.
function(documented program help)
  string(REGEX MATCHALL "--[a-z][a-z0-9-]*" options "${help}")
  list(REMOVE_DUPLICATES options)
  foreach(option ${options})
    string(FIND "${readme}" "${option}" at)
    if(at LESS 0)
      string(APPEND failures "${program}: ${option} is in --help but not in the README\n")
    endif()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

string(REPLACE "." "\\." v "${VERSION}")
foreach(program tripconf tripctl tripsim)
  run(${program} 0 out "^${program} ${v}\n$" --version)
endforeach()

run(tripctl 0 out "usage: tripctl COMMAND" --help)
documented(tripctl "${last_out}")
run(tripctl 0 out "^usage: tripctl journal FILE" journal --help)
run(tripctl 2 err "usage: tripctl COMMAND")
run(tripctl 2 err "unknown command.*usage: tripctl COMMAND" frobnicate)
run(tripctl 2 err "^usage: tripctl dump FILE" dump)
run(tripctl 2 err "^usage: tripctl dump FILE" dump --bogus settings.kelmg)
run(tripctl 2 err "^usage: tripctl journal FILE" journal settings.kelmg --trip --encoding)
run(tripctl 2 err "^usage: tripctl catalog" catalog --device-type)
run(tripctl 2 err "^usage: tripctl set FILE" set settings.kelmg cbProtocol=1)
run(tripctl 2 err "^usage: tripctl diff A B" diff settings.kelmg)
# A single-dash word is an unknown option, not a file name, for every command.
run(tripctl 2 err "^usage: tripctl settings FILE" settings -x)
run(tripctl 2 err "^usage: tripctl diff A B" diff -x settings.kelmg)
run(tripctl 2 err "usage: tripctl read" read --port /dev/null --output)
run(tripctl 2 err "^usage: tripctl write" write --port /dev/null --backup-dir)

run(tripsim 0 out "^usage: tripsim.*--exit-after N" --help)
documented(tripsim "${last_out}")
run(tripsim 2 err "unknown option --bogus\nusage: tripsim" --bogus)
run(tripsim 2 err "usage: tripsim" --baud)

run(tripconf 0 out "--no-backup" --help)
documented(tripconf "${last_out}")
if(DEFINED tripconf AND last_out MATCHES "exit-when-shown")
  string(APPEND failures "tripconf --help lists the benchmark-only --exit-when-shown\n")
endif()
run(tripconf 2 err "Unknown option 'bogus'.*Usage: .*tripconf \\[options\\]" --bogus)
run(tripconf 2 err "Missing value after '--port'.*Usage:" --port)
run(tripconf 2 err "Unexpected argument 'extra'.*Usage:" one.kelmg extra)

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
