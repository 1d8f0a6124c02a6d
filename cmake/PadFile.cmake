# Pads FILE with zeros to exactly SIZE bytes. A file that is already larger is
# deleted, so that no oversized image is left behind as if the build had worked.
file(SIZE "${FILE}" actual)
if(actual GREATER SIZE)
  file(REMOVE "${FILE}")
  message(FATAL_ERROR "${FILE} is ${actual} bytes, larger than the ${SIZE} bytes its slot in the installer allows")
endif()
execute_process(COMMAND truncate -s "${SIZE}" "${FILE}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "could not pad ${FILE} to ${SIZE} bytes")
endif()
