# Puts the starting database SOURCE at TARGET when no file is there; an existing database is the
# operator's and is left as it is. The copy is renamed into place, so a cut-short build leaves
# either no database or a whole one.
if(EXISTS "${TARGET}")
  return()
endif()
get_filename_component(folder "${TARGET}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E copy "${SOURCE}" "${TARGET}.tmp" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "Cannot copy ${SOURCE} to ${TARGET}.tmp")
endif()
file(RENAME "${TARGET}.tmp" "${TARGET}")
message(STATUS "Starting database placed at ${TARGET}")
