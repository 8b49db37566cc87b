# TAVREL_SOURCE_DATE_EPOCH: the time every release file is stamped with, in
# seconds since 1970 (UTC). The environment's SOURCE_DATE_EPOCH when it is set
# at configure time, else the commit time of the checked-out commit, else
# (sources without git) 0. Never the clock: one commit gives one time.
if(DEFINED ENV{SOURCE_DATE_EPOCH} AND NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(TAVREL_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
  set(tavrel_epoch_origin "SOURCE_DATE_EPOCH")
else()
  find_package(Git QUIET)
  set(TAVREL_SOURCE_DATE_EPOCH "")
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE TAVREL_SOURCE_DATE_EPOCH
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    # A new commit or checkout gives a new time: configure again then.
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --absolute-git-dir
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE git_dir
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    foreach(moved logs/HEAD HEAD)
      if(git_dir AND EXISTS ${git_dir}/${moved})
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${git_dir}/${moved})
        break()
      endif()
    endforeach()
  endif()
  set(tavrel_epoch_origin "the commit's time")
  if(TAVREL_SOURCE_DATE_EPOCH STREQUAL "")
    set(TAVREL_SOURCE_DATE_EPOCH 0)
    set(tavrel_epoch_origin "no commit found")
  endif()
endif()
if(NOT TAVREL_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be a whole number of seconds, not '${TAVREL_SOURCE_DATE_EPOCH}'")
endif()
message(STATUS "Release files are stamped ${TAVREL_SOURCE_DATE_EPOCH} (${tavrel_epoch_origin})")
