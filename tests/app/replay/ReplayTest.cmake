# quoll_replay_test(<name> PROGRAM <target> SCRIPT <file> [EVERY <n>] [CHECKPOINTS <u>...]
#                   [LABELS <label>...] [ARGS <arg>...] [SETTINGS <file>] [FLOW <file>]
#                   [GALLERY <checker target>] [FOLDER <company>/<product>]
#                   [PLAYER_FILES <folder or file>...] [REPLAY_PLAYER_FILES <folder or file>...]
#                   [RECORDED_PLAYER_FILES <name>...] [ENV <NAME=value>...])
# A CTest test that runs the program headless with the script while recording a demo, then
# plays the demo back at full speed, and compares what both runs wrote through ReplayDigest:
# the state digests every <n> updates and the screen hashes at the checkpoint updates. The
# first difference fails the test and names its update; a differing screen names both PNGs.
#
# For the game program: ARGS are given to both runs; SETTINGS is the settings file both runs
# start from (in the FOLDER of the settings and data folders, where the game log is); FLOW names the expected flow log: the "[FLOW]" lines of both runs' game logs must
# equal it (QUOLL_UPDATE_GOLDEN=1 rewrites it from the recording). Script lines
# "# checkpoint <name>" name the update of the "at" time before them (the game's fixed step is
# 10 ms); GALLERY runs the checker with the replayed frames of those checkpoints. PLAYER_FILES are
# the files the recording finds in its data folder (a fixture's profiles and saved games; a folder
# gives all its files); the replay reads them from the demo. REPLAY_PLAYER_FILES are files the
# replay's data folder holds (given the same way): the replay must neither read them nor change
# them, so its folder must hold them as they were once it ends (beside the game's log and sound
# cache).
# RECORDED_PLAYER_FILES names files the recording's data folder must hold once it ends (what the
# session is about, such as a file it kept as .old). ENV sets variables for both runs.
set(QUOLL_REPLAY_CHECK ${CMAKE_CURRENT_LIST_DIR}/ReplayCheck.cmake)

function(quoll_replay_test name)
  cmake_parse_arguments(Q "" "PROGRAM;SCRIPT;EVERY;SETTINGS;FLOW;GALLERY;FOLDER"
                        "CHECKPOINTS;LABELS;ARGS;ENV;PLAYER_FILES;REPLAY_PLAYER_FILES;RECORDED_PLAYER_FILES" ${ARGN})
  if(NOT Q_EVERY)
    set(Q_EVERY 100)
  endif()
  string(REPLACE ";" "," checkpoints "${Q_CHECKPOINTS}")
  string(REPLACE ";" "," arguments "${Q_ARGS}")
  string(REPLACE ";" "," environment "${Q_ENV}")
  string(REPLACE ";" "," player_files "${Q_PLAYER_FILES}")
  string(REPLACE ";" "," replay_player_files "${Q_REPLAY_PLAYER_FILES}")
  string(REPLACE ";" "," recorded_player_files "${Q_RECORDED_PLAYER_FILES}")
  set(gallery "")
  if(Q_GALLERY)
    set(gallery $<TARGET_FILE:${Q_GALLERY}>)
  endif()
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND}
      -DPROGRAM=$<TARGET_FILE:${Q_PROGRAM}>
      -DSCRIPT=${Q_SCRIPT}
      -DWORK=${CMAKE_CURRENT_BINARY_DIR}/${name}
      -DEVERY=${Q_EVERY}
      -DCHECKPOINTS=${checkpoints}
      -DARGUMENTS=${arguments}
      -DENVIRONMENT=${environment}
      -DSETTINGS=${Q_SETTINGS}
      -DFLOW=${Q_FLOW}
      -DGALLERY=${gallery}
      -DFOLDER=${Q_FOLDER}
      -DPLAYER_FILES=${player_files}
      -DREPLAY_PLAYER_FILES=${replay_player_files}
      -DRECORDED_PLAYER_FILES=${recorded_player_files}
      -P ${QUOLL_REPLAY_CHECK})
  set_tests_properties(${name} PROPERTIES LABELS "${Q_LABELS}" TIMEOUT 600)
endfunction()
