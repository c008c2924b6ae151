# Native build: the portable logic on the in-memory platform, its tests and benchmarks.

option(QEL_SANITIZE "Build the native tests with AddressSanitizer and UBSan" ON)
set(QEL_PRODUCT_EXE ${PROJECT_SOURCE_DIR}/build/win32/Qelmora.exe
    CACHE FILEPATH "The i686 Qelmora.exe whose import table exe_imports checks")

find_package(GTest CONFIG QUIET)
if(NOT TARGET GTest::gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()

# Tests build unoptimised: with the sanitizers, -O2 costs four times the compile time.
set(test_options -O0 -g)
set(sanitize)
if(QEL_SANITIZE)
  set(sanitize -fsanitize=address,undefined -fno-sanitize-recover=undefined
      -fno-omit-frame-pointer)
endif()

# Libraries as the tests see them (instrumented) ...
qel_library(qelmora_core SOURCES ${QEL_CORE_SOURCES} OPTIONS ${test_options} ${sanitize})
qel_library(qelmora_memory SOURCES ${QEL_MEMORY_SOURCES} LINK qelmora_core
            OPTIONS ${test_options} ${sanitize})
# tests/support is headers only: what they need to link.
qel_library(qel_test_support LINK qelmora_memory qelmora_core GTest::gtest)

add_library(qel_sanitize INTERFACE)
target_compile_options(qel_sanitize INTERFACE ${test_options} ${sanitize})
target_link_options(qel_sanitize INTERFACE ${sanitize})

message(STATUS "Native tests:")
qel_test_program(native_tests SOURCES ${QEL_NATIVE_TEST_SOURCES}
                 LINK qel_test_support qelmora_memory qelmora_core GTest::gtest_main qel_sanitize)
if(QEL_CONTRACT_SOURCES)
  qel_test_program(contract_memory SOURCES ${QEL_CONTRACT_SOURCES}
                   LINK qel_test_support qelmora_memory qelmora_core GTest::gtest_main qel_sanitize)
else()
  message(STATUS "  contract_memory: no contract tests yet, skipped")
endif()

# The product is built in build/win32; this only reads its import table, so it can live here.
if(QEL_APP_SOURCES)
  add_test(NAME exe_imports COMMAND ${PROJECT_SOURCE_DIR}/tools/check-exe ${QEL_PRODUCT_EXE})
  set_tests_properties(exe_imports PROPERTIES TIMEOUT 60)
else()
  message(STATUS "  exe_imports: no program sources yet, skipped")
endif()

# Each fault tools/seed-faults plants must still name text the product holds exactly once, or
# the fault would test nothing: a change that rewrites such a line updates the list with it.
add_test(NAME seed_faults_current COMMAND python3 ${PROJECT_SOURCE_DIR}/tools/seed-faults --list)
set_tests_properties(seed_faults_current PROPERTIES TIMEOUT 60)

# ... and as the benchmarks see them: optimised, uninstrumented, so that the figures mean something.
if(QEL_NATIVE_BENCH_SOURCES)
  qel_library(qelmora_core_bench SOURCES ${QEL_CORE_SOURCES} OPTIONS -O2)
  qel_library(qelmora_memory_bench SOURCES ${QEL_MEMORY_SOURCES} LINK qelmora_core_bench
              OPTIONS -O2)
  qel_library(qel_test_support_bench LINK qelmora_memory_bench qelmora_core_bench GTest::gtest)
endif()
qel_benchmarks(SOURCES ${QEL_NATIVE_BENCH_SOURCES} OPTIONS -O2
               LINK qel_test_support_bench qelmora_memory_bench qelmora_core_bench)
