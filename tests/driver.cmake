# Fake driver libraries and the test runs that need them. The driver binding is
# process-wide and the library search path is read at process start, so each
# situation (library complete, library lacking an entry, no library) is its own
# run of the same test program with its own environment.

set(GRD_FAKE_DRIVER_DIR ${CMAKE_CURRENT_BINARY_DIR}/fake-driver)
set(GRD_FAKE_DRIVER_INCOMPLETE_DIR ${CMAKE_CURRENT_BINARY_DIR}/fake-driver-incomplete)

add_library(fake_dedido SHARED ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/fakededido.c)
set_target_properties(fake_dedido PROPERTIES
  OUTPUT_NAME DEDIDO LIBRARY_OUTPUT_DIRECTORY ${GRD_FAKE_DRIVER_DIR} C_VISIBILITY_PRESET hidden)

add_library(fake_dedido_incomplete SHARED ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/fakededido.c)
set_target_properties(fake_dedido_incomplete PROPERTIES
  OUTPUT_NAME DEDIDO LIBRARY_OUTPUT_DIRECTORY ${GRD_FAKE_DRIVER_INCOMPLETE_DIR}
  C_VISIBILITY_PRESET hidden)
target_compile_definitions(fake_dedido_incomplete PRIVATE FAKE_DEDIDO_INCOMPLETE)

# GRD_FAKE_DRIVER tells a test program which situation its run stands in:
# "complete", "incomplete", or unset for "no library on the search path".
function(grd_add_driver_run test program situation libdir cards)
  add_test(NAME ${test} COMMAND ${program})
  set_tests_properties(${test} PROPERTIES TIMEOUT 300 ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;LD_LIBRARY_PATH=${libdir};GRD_FAKE_DRIVER=${situation};FAKE_DEDIDO_CARDS=${cards}")
endfunction()

foreach(program tst_driverbinding tst_installedcards)
  if(TARGET ${program})
    add_dependencies(${program} fake_dedido fake_dedido_incomplete)
  endif()
endforeach()

if(TARGET tst_driverbinding)
  grd_add_driver_run(tst_driverbinding_complete tst_driverbinding complete
    ${GRD_FAKE_DRIVER_DIR} 2)
  grd_add_driver_run(tst_driverbinding_incomplete tst_driverbinding incomplete
    ${GRD_FAKE_DRIVER_INCOMPLETE_DIR} 2)
endif()

if(TARGET tst_installedcards)
  grd_add_driver_run(tst_installedcards_three tst_installedcards complete
    ${GRD_FAKE_DRIVER_DIR} 3)
  grd_add_driver_run(tst_installedcards_incomplete tst_installedcards incomplete
    ${GRD_FAKE_DRIVER_INCOMPLETE_DIR} 3)
  grd_add_driver_run(tst_installedcards_negative tst_installedcards complete
    ${GRD_FAKE_DRIVER_DIR} -4)
endif()
