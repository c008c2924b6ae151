# The build that runs under Wine (x86_64): Qelmora.exe for `make run` and the smoke tests, the
# Windows-hosted tests and benchmarks.

# Every Windows program the build runs goes through the project's Wine wrapper.
set(QEL_WINE_RUN ${PROJECT_SOURCE_DIR}/tools/wine-run)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QEL_WINE_RUN})

add_compile_options(-O2)
set(QEL_PROGRAM_LINK_OPTIONS)
include(QelWindows)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The in-memory Windows and the memory machine built on it serve the native tests only.
qel_library(qel_test_support LINK qelmora_core gtest)

message(STATUS "Wine-hosted tests:")
if(QEL_CONTRACT_SOURCES)
  qel_test_program(contract_win32 SOURCES ${QEL_CONTRACT_SOURCES}
                   LINK qel_test_support qelmora_win32 qelmora_core gtest_main
                        qel_windows_libs)
  set_tests_properties(contract_win32 PROPERTIES RESOURCE_LOCK wineprefix-test)
else()
  message(STATUS "  contract_win32: no contract tests yet, skipped")
endif()
qel_test_program(wine_tests SOURCES ${QEL_WINE_TEST_SOURCES}
                 LINK qel_test_support qelmora_win32 qelmora_core gtest_main
                      qel_windows_libs)
if(TARGET wine_tests)
  set_tests_properties(wine_tests PROPERTIES RESOURCE_LOCK wineprefix-test)
endif()

# End-to-end scripts drive the real program; each makes its own prefix under this build.
# They seed shortcuts with this helper.
add_executable(make_shortcut ${PROJECT_SOURCE_DIR}/tests/smoke/make_shortcut.cpp)
target_link_libraries(make_shortcut PRIVATE ole32 uuid)
target_link_options(make_shortcut PRIVATE -static)
if(TARGET Qelmora)
  foreach(script IN LISTS QEL_SMOKE_SCRIPTS)
    get_filename_component(stem ${script} NAME_WE)
    add_test(NAME smoke_${stem} COMMAND bash ${script})
    set_tests_properties(smoke_${stem} PROPERTIES TIMEOUT 600 ENVIRONMENT
      "QEL_ROOT=${PROJECT_SOURCE_DIR};QEL_BUILD=${CMAKE_BINARY_DIR};QEL_EXE=$<TARGET_FILE:Qelmora>;QEL_MAKE_SHORTCUT=$<TARGET_FILE:make_shortcut>;QEL_PRIVATE_DISPLAY=1")
  endforeach()
endif()

qel_benchmarks(SOURCES ${QEL_WINE_BENCH_SOURCES}
               LINK qel_test_support qelmora_win32 qelmora_core qel_windows_libs
               RUNNER ${QEL_WINE_RUN}
               SCRIPTS ${QEL_WINE_BENCH_SCRIPTS}
               ENV QEL_ROOT=${PROJECT_SOURCE_DIR} QEL_BUILD=${CMAKE_BINARY_DIR})
