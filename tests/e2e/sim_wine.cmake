# The simulated rig end to end under Wine (included from this folder's
# CMakeLists.txt; registers nothing where the Windows tests do not run).
if(NOT (CMAKE_CROSSCOMPILING AND WIN32 AND KV_RUN_TESTS))
  return()
endif()

add_test(NAME sim_wine_e2e
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/sim_wine_e2e.sh ${KV_WINE_RUN} ${KV_WINE_STATE}
          $<TARGET_FILE:kvsim> $<TARGET_FILE:kv_sim_probe> ${KV_DELIVERABLES_DIR} $<TARGET_FILE_DIR:kvsimcam>
          ${PROJECT_SOURCE_DIR}/sim/rigs)
set_tests_properties(sim_wine_e2e PROPERTIES TIMEOUT 180)
kv_requires_wine(sim_wine_e2e)
