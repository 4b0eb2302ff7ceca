# Run by quoll_replay_test: record with the script, replay the demo, compare the digests.
# Inputs: PROGRAM, SCRIPT, WORK (a folder of its own), EVERY, CHECKPOINTS ("200,400").
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/recorded ${WORK}/replayed)

# Each run has its own settings and data folders, so the replay can only know what the demo
# recorded. The data folder of the recording holds the file its 'F' key reads.
set(data_record ${WORK}/record-home/data/Nordwick/ReplaySession)
file(MAKE_DIRECTORY ${data_record})
file(WRITE ${data_record}/replay.dat "saved before the recording\n")

# The recording draws its 3D frames on one thread, the replay in bands on four: the screens must
# not tell them apart.
function(run_program mode home digests threads)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env
      QUOLL_D3D_THREADS=${threads} QUOLL_PLATFORM=headless SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
      XDG_CONFIG_HOME=${home}/config XDG_DATA_HOME=${home}/data
      QUOLL_HEADLESS_SCRIPT=${ARGN}
      QUOLL_REPLAY_DIGESTS=${digests} QUOLL_REPLAY_EVERY=${EVERY} QUOLL_REPLAY_CHECKPOINTS=${CHECKPOINTS}
      ${PROGRAM} ${mode} -demofile=${WORK}/session.dmo
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${mode} failed (${result}):\n${output}")
  endif()
endfunction()

run_program(-record ${WORK}/record-home ${WORK}/recorded 1 ${SCRIPT})
if(NOT EXISTS ${WORK}/session.dmo)
  message(FATAL_ERROR "the recording wrote no demo file")
endif()
run_program(-play ${WORK}/replay-home ${WORK}/replayed 4 "")

file(STRINGS ${WORK}/recorded/digests.txt recorded)
file(STRINGS ${WORK}/replayed/digests.txt replayed)
list(LENGTH recorded count_recorded)
list(LENGTH replayed count_replayed)
if(count_recorded EQUAL 0)
  message(FATAL_ERROR "the recording wrote no digests")
endif()
math(EXPR last "${count_recorded} - 1")
foreach(i RANGE ${last})
  list(GET recorded ${i} a)
  if(i LESS count_replayed)
    list(GET replayed ${i} b)
  else()
    set(b "(nothing: the replay ended)")
  endif()
  # Screen lines end with the picture's path, which differs between the runs.
  string(REGEX REPLACE " [^ ]+[.]png$" "" a_key "${a}")
  string(REGEX REPLACE " [^ ]+[.]png$" "" b_key "${b}")
  if(NOT a_key STREQUAL b_key)
    string(REGEX MATCH "^[a-z]+ ([0-9]+)" unused "${a}")
    set(update ${CMAKE_MATCH_1})
    if(a MATCHES "^screen" AND b MATCHES "^screen")
      message(FATAL_ERROR "the screens differ at update ${update}; compare the pictures:\n"
                          "  recorded: ${a}\n  replayed: ${b}")
    endif()
    message(FATAL_ERROR "the runs part at update ${update}:\n  recorded: ${a}\n  replayed: ${b}")
  endif()
endforeach()
if(count_replayed GREATER count_recorded)
  message(FATAL_ERROR "the replay ran on past the recording's end")
endif()
message(STATUS "${count_recorded} digests agree")
