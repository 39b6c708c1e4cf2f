# kv_deliverable(target): a file that we ship. The Windows build puts every
# deliverable, and nothing else, in one folder (KV_DELIVERABLES_DIR), which is
# what a user installs; `cmake --install` copies the same files. Simulator
# parts and stand-in libraries are built elsewhere, and tests that need both
# assemble a folder of their own.
set(KV_DELIVERABLES_DIR ${PROJECT_BINARY_DIR}/deliverables)
set_property(GLOBAL PROPERTY KV_DELIVERABLES "")
# The same, by target: the setup program (setup/) packs their files.
set_property(GLOBAL PROPERTY KV_DELIVERABLE_TARGETS "")

function(kv_deliverable target)
  if(NOT WIN32)
    return()
  endif()
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KV_DELIVERABLES_DIR})
  install(TARGETS ${target} RUNTIME DESTINATION .)
  set_property(GLOBAL APPEND PROPERTY KV_DELIVERABLES $<TARGET_FILE_NAME:${target}>)
  set_property(GLOBAL APPEND PROPERTY KV_DELIVERABLE_TARGETS ${target})
endfunction()
