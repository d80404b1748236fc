# Pads the linked stub STUB with zero bytes to exactly SIZE bytes; fails (and removes
# the program) when it is already larger.
file(SIZE "${STUB}" linked)
if(linked GREATER SIZE)
    file(REMOVE "${STUB}")
    message(FATAL_ERROR "stub ${STUB} is ${linked} bytes, more than its StubSize ${SIZE}")
endif()
execute_process(COMMAND truncate -s ${SIZE} "${STUB}" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cannot pad ${STUB} to ${SIZE} bytes")
endif()
message(STATUS "stub ${STUB}: ${linked} bytes linked, padded to ${SIZE}")
