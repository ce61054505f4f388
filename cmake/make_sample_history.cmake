# Creates the sample history file from the bundled CSV unless one already exists.
if(EXISTS "${DB}")
  return()
endif()
execute_process(COMMAND "${CLI}" import --csv "${CSV}" --db "${DB}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "could not create ${DB} from ${CSV}")
endif()
