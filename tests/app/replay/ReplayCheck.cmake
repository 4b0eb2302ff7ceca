# Run by quoll_replay_test: record with the script, replay the demo, compare the digests.
# Inputs: PROGRAM, SCRIPT, WORK (a folder of its own), EVERY, CHECKPOINTS ("200,400");
# optional: ARGUMENTS ("-a,-b"), ENVIRONMENT ("A=1,B=2"), FOLDER, SETTINGS, PLAYER_FILES and
# REPLAY_PLAYER_FILES ("folder,file"), RECORDED_PLAYER_FILES ("a,b"), FLOW, GALLERY (see
# ReplayTest.cmake).
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/recorded ${WORK}/replayed)
string(REPLACE "," ";" arguments "${ARGUMENTS}")
string(REPLACE "," ";" environment "${ENVIRONMENT}")

# Each run has its own settings and data folders, so the replay can only know what the demo
# recorded. The data folder of the recording holds the file its 'F' key reads.
set(data_record ${WORK}/record-home/data/Nordwick/ReplaySession)
file(MAKE_DIRECTORY ${data_record})
file(WRITE ${data_record}/replay.dat "saved before the recording\n")
if(SETTINGS)
  foreach(home record-home replay-home)
    file(MAKE_DIRECTORY ${WORK}/${home}/config/${FOLDER})
    configure_file(${SETTINGS} ${WORK}/${home}/config/${FOLDER}/settings.txt COPYONLY)
  endforeach()
endif()
# The player's files the recording starts from; the replay reads them from the demo. The files
# the replay's folder holds are its own, and stay as they are.
function(copy_player_files sources home)
  string(REPLACE "," ";" sources "${sources}")
  set(files "")
  foreach(source IN LISTS sources)
    if(IS_DIRECTORY ${source})
      file(GLOB folder_files ${source}/*)
      list(APPEND files ${folder_files})
    else()
      list(APPEND files ${source})
    endif()
  endforeach()
  file(MAKE_DIRECTORY ${WORK}/${home}/data/${FOLDER})
  file(COPY ${files} DESTINATION ${WORK}/${home}/data/${FOLDER})
endfunction()
# Every file of the replay's player folder but the game's log and its sound cache, with a hash of
# its bytes.
function(player_folder_state out)
  file(GLOB files LIST_DIRECTORIES true RELATIVE ${WORK}/replay-home/data/${FOLDER} ${WORK}/replay-home/data/${FOLDER}/*)
  list(REMOVE_ITEM files GameLog.txt cached)
  set(state "")
  foreach(name IN LISTS files)
    if(IS_DIRECTORY ${WORK}/replay-home/data/${FOLDER}/${name})
      list(APPEND state "${name}/")
    else()
      file(SHA256 ${WORK}/replay-home/data/${FOLDER}/${name} hash)
      list(APPEND state "${name} ${hash}")
    endif()
  endforeach()
  set(${out} "${state}" PARENT_SCOPE)
endfunction()
if(PLAYER_FILES)
  copy_player_files("${PLAYER_FILES}" record-home)
endif()
if(REPLAY_PLAYER_FILES)
  copy_player_files("${REPLAY_PLAYER_FILES}" replay-home)
  player_folder_state(replay_files_before)
endif()

# Named checkpoints: "# checkpoint <name>" takes the update of the last "at" time (10 ms steps).
# "# command <state> <command>" after an input: the flow log shows that command in the update
# the input arrives in (the one before the checkpoint update of the same time).
set(names "")
set(commands "")
if(EXISTS ${SCRIPT})
  file(STRINGS ${SCRIPT} script_lines)
  set(at 0)
  foreach(line IN LISTS script_lines)
    if(line MATCHES "^at ([0-9]+)")
      set(at ${CMAKE_MATCH_1})
    elseif(line MATCHES "^# checkpoint ([A-Za-z0-9_]+)")
      math(EXPR update "${at} / 10")
      list(APPEND names "${update}:${CMAKE_MATCH_1}")
      if(CHECKPOINTS)
        string(APPEND CHECKPOINTS ",${update}")
      else()
        set(CHECKPOINTS ${update})
      endif()
    elseif(line MATCHES "^# command ([A-Za-z]+ -?[0-9]+)$")
      math(EXPR update "${at} / 10 - 1")
      list(APPEND commands "${update} command ${CMAKE_MATCH_1} ")
    endif()
  endforeach()
endif()

# The recording draws its 3D frames on one thread, the replay in bands on four: the screens must
# not tell them apart.
# Each run has an instance name of its own, so that it runs beside a player's copy of the game and
# beside other tests' runs.
function(run_program mode home digests threads)
  file(MAKE_DIRECTORY ${home})
  get_filename_component(test_name ${WORK} NAME)
  string(RANDOM LENGTH 8 instance)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env
      QUOLL_INSTANCE_NAME=test-${test_name}-${instance}
      QUOLL_D3D_THREADS=${threads} QUOLL_PLATFORM=headless SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
      LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/../../shell/lsan.supp
      XDG_CONFIG_HOME=${home}/config XDG_DATA_HOME=${home}/data
      QUOLL_HEADLESS_SCRIPT=${ARGN}
      QUOLL_REPLAY_DIGESTS=${digests} QUOLL_REPLAY_EVERY=${EVERY} QUOLL_REPLAY_CHECKPOINTS=${CHECKPOINTS}
      ${environment}
      ${PROGRAM} ${mode} -demofile=${WORK}/session.dmo ${arguments}
    WORKING_DIRECTORY ${home}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  file(WRITE ${digests}/output.txt "${output}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${mode} failed (${result}):\n${output}")
  endif()
endfunction()

run_program(-record ${WORK}/record-home ${WORK}/recorded 1 ${SCRIPT})
if(NOT EXISTS ${WORK}/session.dmo)
  message(FATAL_ERROR "the recording wrote no demo file")
endif()
string(REPLACE "," ";" recorded_player_files "${RECORDED_PLAYER_FILES}")
foreach(name IN LISTS recorded_player_files)
  if(NOT EXISTS ${WORK}/record-home/data/${FOLDER}/${name})
    message(FATAL_ERROR "the recording's player folder has no ${name}; see ${WORK}/recorded/output.txt and the "
                        "game log in ${WORK}/record-home/data/${FOLDER}")
  endif()
endforeach()
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
    message(FATAL_ERROR "the runs part at update ${update}:\n  recorded: ${a}\n  replayed: ${b}\n"
                        "(the programs' output: ${WORK}/recorded/output.txt, ${WORK}/replayed/output.txt)")
  endif()
endforeach()
if(count_replayed GREATER count_recorded)
  message(FATAL_ERROR "the replay ran on past the recording's end")
endif()
message(STATUS "${count_recorded} digests agree")

if(REPLAY_PLAYER_FILES)
  player_folder_state(replay_files_after)
  if(NOT replay_files_after STREQUAL replay_files_before)
    string(REPLACE ";" "\n  " before "${replay_files_before}")
    string(REPLACE ";" "\n  " after "${replay_files_after}")
    message(FATAL_ERROR "the replay changed its player folder ${WORK}/replay-home/data/${FOLDER}:\n"
                        "before:\n  ${before}\nafter:\n  ${after}")
  endif()
  message(STATUS "the replay left its player folder as it was")
endif()

# The flow logs: recorded and replayed alike, and as expected.
if(FLOW)
  foreach(run record replay)
    set(log ${WORK}/${run}-home/data/${FOLDER}/GameLog.txt)
    if(NOT EXISTS ${log})
      message(FATAL_ERROR "no game log ${log}")
    endif()
    file(STRINGS ${log} lines REGEX "^\\[FLOW\\] ")
    list(TRANSFORM lines REPLACE "^\\[FLOW\\] " "")
    string(REPLACE ";" "\n" text_${run} "${lines}")
    file(WRITE ${WORK}/${run}.flow "${text_${run}}\n")
  endforeach()
  if(NOT text_record STREQUAL text_replay)
    message(FATAL_ERROR "the recorded and replayed flow logs differ:\n"
                        "  diff ${WORK}/record.flow ${WORK}/replay.flow")
  endif()
  if("$ENV{QUOLL_UPDATE_GOLDEN}" STREQUAL "1")
    configure_file(${WORK}/record.flow ${FLOW} COPYONLY)
  endif()
  file(READ ${FLOW} expected)
  if(NOT "${text_record}\n" STREQUAL expected)
    message(FATAL_ERROR "the flow log differs from the expected one:\n"
                        "  diff ${FLOW} ${WORK}/record.flow\n"
                        "(an intended change: QUOLL_UPDATE_GOLDEN=1 ctest -R <test> rewrites it)")
  endif()
  message(STATUS "the flow logs agree with ${FLOW}")
  foreach(command IN LISTS commands)
    string(FIND "${text_record}" "${command}" found)
    if(found EQUAL -1)
      message(FATAL_ERROR "the flow log has no \"${command}...\": the input the script marks with it "
                          "was not logged as a command in the update it arrived")
    endif()
  endforeach()
endif()

# The gallery: the replayed frame of each named checkpoint against its golden picture.
if(GALLERY AND names)
  file(MAKE_DIRECTORY ${WORK}/gallery)
  foreach(entry IN LISTS names)
    string(REPLACE ":" ";" pair "${entry}")
    list(GET pair 0 update)
    list(GET pair 1 name)
    if(NOT EXISTS ${WORK}/replayed/screen${update}.png)
      message(FATAL_ERROR "no frame of checkpoint ${name} (update ${update})")
    endif()
    configure_file(${WORK}/replayed/screen${update}.png ${WORK}/gallery/${name}.png COPYONLY)
  endforeach()
  execute_process(COMMAND ${GALLERY} ${WORK}/gallery RESULT_VARIABLE result OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the gallery differs from its goldens:\n${output}")
  endif()
  message(STATUS "${output}")
endif()
