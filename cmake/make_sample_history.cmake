# Creates the sample history file of a game (GAME: loto6, loto7, miniloto;
# loto6 when not given) from the bundled CSV unless one already exists.
if(EXISTS "${DB}")
  return()
endif()
if(NOT GAME)
  set(GAME loto6)
endif()
execute_process(COMMAND "${CLI}" import --game "${GAME}" --csv "${CSV}" --db "${DB}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "could not create ${DB} from ${CSV}")
endif()
