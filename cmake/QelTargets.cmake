# Target helpers. A library whose folder is still empty becomes an interface target, so that
# everything linking it builds; a test or benchmark with no sources is simply not created.

# qel_library(NAME SOURCES files... LINK targets... [OPTIONS flags...])
function(qel_library name)
  cmake_parse_arguments(arg "" "" "SOURCES;LINK;OPTIONS" ${ARGN})
  if(arg_SOURCES)
    add_library(${name} STATIC ${arg_SOURCES})
    target_link_libraries(${name} PUBLIC ${arg_LINK})
    target_compile_options(${name} PRIVATE ${arg_OPTIONS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${arg_LINK})
  endif()
endfunction()

# qel_test_program(NAME SOURCES files... LINK targets...): a GoogleTest binary and its ctest test.
# Returns quietly when there is nothing to test yet.
function(qel_test_program name)
  cmake_parse_arguments(arg "" "" "SOURCES;LINK" ${ARGN})
  if(NOT arg_SOURCES)
    message(STATUS "  ${name}: no sources yet, skipped")
    return()
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LINK})
  # A test that defines its own main() wins over gtest_main: the archive member is not pulled in.
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
endfunction()

# qel_benchmarks(SOURCES files... LINK targets... [OPTIONS flags...] [RUNNER command]
#                [SCRIPTS files... ENV name=value...]): one program per source file, each run by
# the `run_benches` target (through RUNNER, e.g. the Wine wrapper), then each script with ENV.
function(qel_benchmarks)
  cmake_parse_arguments(arg "" "" "SOURCES;LINK;OPTIONS;RUNNER;SCRIPTS;ENV" ${ARGN})
  set(commands)
  foreach(source IN LISTS arg_SOURCES)
    get_filename_component(stem ${source} NAME_WE)
    add_executable(${stem} ${source})
    target_link_libraries(${stem} PRIVATE ${arg_LINK})
    target_compile_options(${stem} PRIVATE ${arg_OPTIONS})
    set_target_properties(${stem} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E echo "== ${stem}"
         COMMAND ${arg_RUNNER} $<TARGET_FILE:${stem}>)
  endforeach()
  # Scripts start Wine themselves: they must not hand ninja's pipe on to Wine's lingering
  # processes, or ninja waits for them.
  set(detach "source \"$0\" && close_inherited_fds && exec bash \"$1\"")
  foreach(script IN LISTS arg_SCRIPTS)
    get_filename_component(stem ${script} NAME)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E echo "== ${stem}"
         COMMAND ${CMAKE_COMMAND} -E env ${arg_ENV}
                 bash -c ${detach} ${PROJECT_SOURCE_DIR}/tools/wine-env.sh ${script})
  endforeach()
  if(NOT commands)
    set(commands COMMAND ${CMAKE_COMMAND} -E echo "No benchmarks in this build yet.")
  endif()
  add_custom_target(run_benches ${commands} USES_TERMINAL VERBATIM)
endfunction()
