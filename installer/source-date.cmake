# Included by the packaging scripts run with cmake -P: sets EPOCH to the time
# every packaged file and package carries, SOURCE_DATE_EPOCH or, when it is
# unset, the time of the commit the sources are at, never the clock's.
if(DEFINED ENV{SOURCE_DATE_EPOCH} AND NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${CMAKE_CURRENT_LIST_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE source_date_result)
  if(NOT source_date_result EQUAL 0 OR EPOCH STREQUAL "")
    message(FATAL_ERROR "no SOURCE_DATE_EPOCH and no commit to take the time from")
  endif()
endif()
if(NOT EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be a number of seconds, not '${EPOCH}'")
endif()
