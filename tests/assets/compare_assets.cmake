# Regenerates every asset into OUTPUT_DIR and compares each, byte for byte,
# with the committed copy in COMMITTED_DIR.
set(ASSETS Skyliner.data sky.bmp puff.bmp sample-desktop.bmp preview-background.bmp setup-side.bmp)

file(REMOVE_RECURSE "${OUTPUT_DIR}")
file(MAKE_DIRECTORY "${OUTPUT_DIR}")
execute_process(COMMAND "${GENERATOR}" "${OUTPUT_DIR}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the asset generator failed (${status})")
endif()

set(differing "")
foreach(name IN LISTS ASSETS)
  if(NOT EXISTS "${COMMITTED_DIR}/${name}")
    list(APPEND differing "${name} (not committed)")
    continue()
  endif()
  execute_process(COMMAND cmp "${OUTPUT_DIR}/${name}" "${COMMITTED_DIR}/${name}"
                  RESULT_VARIABLE same OUTPUT_VARIABLE detail ERROR_VARIABLE detail)
  if(NOT same EQUAL 0)
    string(STRIP "${detail}" detail)
    list(APPEND differing "${name} (${detail})")
  endif()
endforeach()

if(differing)
  list(JOIN differing "\n  " listing)
  message(FATAL_ERROR "assets/ differs from the generator's output; run "
                      "`cmake --build <build> --target assets` and commit, or fix the generator:\n  ${listing}")
endif()
message(STATUS "all ${ASSETS} match the generator")
