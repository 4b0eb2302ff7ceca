# quoll_replay_test(<name> PROGRAM <target> SCRIPT <file> [EVERY <n>] [CHECKPOINTS <u>...]
#                   [LABELS <label>...])
# A CTest test that runs the program headless with the script while recording a demo, then
# plays the demo back at full speed, and compares what both runs wrote through ReplayDigest:
# the state digests every <n> updates and the screen hashes at the checkpoint updates. The
# first difference fails the test and names its update; a differing screen names both PNGs.
set(QUOLL_REPLAY_CHECK ${CMAKE_CURRENT_LIST_DIR}/ReplayCheck.cmake)

function(quoll_replay_test name)
  cmake_parse_arguments(Q "" "PROGRAM;SCRIPT;EVERY" "CHECKPOINTS;LABELS" ${ARGN})
  if(NOT Q_EVERY)
    set(Q_EVERY 100)
  endif()
  string(REPLACE ";" "," checkpoints "${Q_CHECKPOINTS}")
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND}
      -DPROGRAM=$<TARGET_FILE:${Q_PROGRAM}>
      -DSCRIPT=${Q_SCRIPT}
      -DWORK=${CMAKE_CURRENT_BINARY_DIR}/${name}
      -DEVERY=${Q_EVERY}
      -DCHECKPOINTS=${checkpoints}
      -P ${QUOLL_REPLAY_CHECK})
  set_tests_properties(${name} PROPERTIES LABELS "${Q_LABELS}" TIMEOUT 300)
endfunction()
