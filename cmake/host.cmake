# Linux: the portable logic against the in-memory platform, its unit tests,
# and the end-to-end tests of the Windows build under Wine.

enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
include(cmake/hardening.cmake)

add_library(infinst_logic STATIC ${INFINST_SOURCES})
target_include_directories(infinst_logic PUBLIC src)
target_compile_options(infinst_logic PRIVATE ${INFINST_PROGRAM_FLAGS})

add_library(infinst_fake STATIC src/platform/platform-fake.cpp)
target_include_directories(infinst_fake PUBLIC src)
target_compile_options(infinst_fake PRIVATE ${INFINST_FLAGS})

add_executable(infinst_unit_tests
    src/run/test_support.cpp
    src/run/run_test.cpp
    src/run/overwrite_test.cpp
    src/inf/text_test.cpp
    src/inf/inf_stream_test.cpp
    src/inf/destinations_test.cpp
    src/install/copy_section_test.cpp
    src/install/addreg_section_test.cpp)
target_compile_options(infinst_unit_tests PRIVATE ${INFINST_FLAGS})
target_link_libraries(infinst_unit_tests PRIVATE infinst_logic infinst_fake GTest::gtest_main)
gtest_discover_tests(infinst_unit_tests)

# The NT 3.x executable must load on NT 3.5: its header, its imports
# (against the names those systems export) and its size are checked.
if(INFINST_E2E)
  add_test(NAME pe_check_win32
      COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/pe_check.py
              ${CMAKE_SOURCE_DIR}/build/win32/infinst.exe ${CMAKE_SOURCE_DIR}/../shared/nt35-exports)
endif()

# End-to-end tests: the win64 build (build it with its preset first) run
# under Wine as Windows NT 3.51, in one Wine prefix made for the run.
# Registered unless INFINST_E2E is set OFF.
if(INFINST_E2E)
  add_test(NAME e2e_wine
      COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/e2e/run_e2e.py
              --exe ${CMAKE_SOURCE_DIR}/build/win64/infinst.exe)
  set_tests_properties(e2e_wine PROPERTIES TIMEOUT 600)
endif()
