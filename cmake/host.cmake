# Linux: the portable logic against the in-memory platform, its unit tests,
# and the end-to-end tests of the Windows build under Wine.

enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
# INFINST_E2E: registers the Wine end-to-end tests; the sanitize and bench
# presets turn it off, since those builds have no Windows program.
option(INFINST_E2E "Register the end-to-end tests of the Windows build under Wine" ON)
option(INFINST_BENCH "Build the benchmark of a whole run on the fake platform" ON)

# The shared sources once, and each program's own logic beside them.
add_library(infinst_shared STATIC ${SHARED_SOURCES})
target_include_directories(infinst_shared PUBLIC src)
target_compile_options(infinst_shared PRIVATE ${INFINST_PROGRAM_FLAGS})
infinst_export_sets(INFCONV_EXPORT_SETS "${CMAKE_SOURCE_DIR}")
list(APPEND INFCONV_SOURCES ${INFCONV_EXPORT_SETS})
foreach(program infinst infconv infundo)
  string(TOUPPER ${program} upper)
  add_library(${program}_logic STATIC ${${upper}_SOURCES})
  target_compile_options(${program}_logic PRIVATE ${INFINST_PROGRAM_FLAGS})
  target_link_libraries(${program}_logic PUBLIC infinst_shared)
endforeach()

# The converter runs on Linux too: its logic against the POSIX platform.
add_executable(infconv src/infconv/main.cpp src/platform/platform-posix.cpp
    src/platform/platform-stdio.cpp)
target_compile_options(infconv PRIVATE ${INFINST_PROGRAM_FLAGS})
target_link_libraries(infconv PRIVATE infconv_logic)

# The test support (tests/support/): the fake machine and the runs of
# whole programs on it, as objects, so that it answers the platform calls
# of the libraries whatever their order on the link line.
add_library(infinst_fake OBJECT ${INFINST_TEST_SUPPORT_SOURCES})
target_include_directories(infinst_fake PUBLIC src tests)
target_compile_options(infinst_fake PRIVATE ${INFINST_FLAGS})

add_executable(infinst_unit_tests
    tests/support/installer.cpp
    tests/support/fault_loop.cpp
    src/run/run_test.cpp
    src/run/overwrite_test.cpp
    src/common/files_test.cpp
    src/inf/text_test.cpp
    src/inf/inf_stream_test.cpp
    src/inf/destinations_test.cpp
    src/inf/addreg_line_test.cpp
    src/install/copy_section_test.cpp
    src/install/addreg_section_test.cpp
    src/install/driver_image_path_test.cpp
    src/infconv/conv_reader_test.cpp
    src/infconv/conv_report_test.cpp
    src/infconv/conv_copy_test.cpp
    src/infconv/conv_addreg_test.cpp
    src/infconv/conv_services_test.cpp
    src/infconv/conv_gate_test.cpp
    src/infconv/conv_output_test.cpp
    src/infconv/conv_run_test.cpp
    src/infconv/conv_imports_test.cpp
    src/infconv/conv_exports_test.cpp
    src/infundo/undo_test.cpp
    src/record/record_item_test.cpp
    src/record/record_test.cpp)
target_compile_options(infinst_unit_tests PRIVATE ${INFINST_FLAGS})
# The export lists, which the test of the converter's tables reads.
target_compile_definitions(infinst_unit_tests PRIVATE
    INFINST_EXPORTS_DIR="${CMAKE_SOURCE_DIR}/tools/nt35-exports")
target_link_libraries(infinst_unit_tests PRIVATE infinst_logic infconv_logic infundo_logic
    infinst_fake
    GTest::gtest_main)
gtest_discover_tests(infinst_unit_tests)

# The converter's Linux platform in a real temporary folder: a program of
# its own, since it cannot be linked with the fake. write() is wrapped so
# that a test can interrupt or fail a write.
add_executable(infconv_posix_tests src/platform/platform_posix_test.cpp
    src/platform/platform-posix.cpp src/platform/platform-stdio.cpp)
target_include_directories(infconv_posix_tests PRIVATE src)
target_compile_options(infconv_posix_tests PRIVATE ${INFINST_FLAGS})
target_link_options(infconv_posix_tests PRIVATE -Wl,--wrap=write)
target_link_libraries(infconv_posix_tests PRIVATE GTest::gtest_main)
gtest_discover_tests(infconv_posix_tests)

if(INFINST_BENCH)
  include(cmake/bench.cmake)
endif()

# Where the Windows builds are, for the checks and the end-to-end tests
# below: the win32 and win64 presets' folders unless set otherwise.
set(INFINST_WIN32_DIR "${CMAKE_SOURCE_DIR}/build/win32" CACHE PATH
    "The folder of the NT 3.x build (win32 preset)")
set(INFINST_WIN64_DIR "${CMAKE_SOURCE_DIR}/build/win64" CACHE PATH
    "The folder of the x86_64 Windows build (win64 preset)")

# The NT 3.x executables must load on NT 3.5: its header, its imports
# (against the names those systems export, kept in tools/nt35-exports) and
# its size are checked.
if(INFINST_E2E)
  add_test(NAME pe_check_win32
      COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/pe_check.py
              ${INFINST_WIN32_DIR}/infinst.exe)
  add_test(NAME pe_check_win32_infconv
      COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/pe_check.py
              ${INFINST_WIN32_DIR}/infconv.exe)
  add_test(NAME pe_check_win32_infundo
      COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/pe_check.py
              ${INFINST_WIN32_DIR}/infundo.exe)
endif()

# End-to-end tests: every case runs twice under Wine as Windows NT 3.51,
# each in a prefix made for the run: the NT 3.x executable (win32 preset)
# in a pure 32-bit prefix, and the x86_64 build (win64 preset) in a 64-bit
# one. Build both presets first. Where this machine's kernel refuses 32-bit
# programs, the i386 run goes whole inside the emulated x86_64 machine of
# tools/vm32, about 12 times slower, hence its longer timeout; it counts
# as skipped only where neither way can run. Each test's name says which
# build runs in which kind of prefix (WINEARCH), and its output names the
# executable, the prefix and how the i386 run ran. A guest that fails must
# fail that run (e2e_i386_broken_guest_fails). Registered unless
# INFINST_E2E is set OFF.
if(INFINST_E2E)
  foreach(build "i386;win32;1500;${INFINST_WIN32_DIR}" "x86_64;win64;900;${INFINST_WIN64_DIR}")
    list(GET build 0 arch)
    list(GET build 1 preset) # the preset's name is also the prefix's WINEARCH
    list(GET build 2 seconds)
    list(GET build 3 folder)
    set(name e2e_wine_${arch}_in_${preset}_prefix)
    add_test(NAME ${name}
        COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/e2e/run_e2e.py --arch ${arch}
                --exe ${folder}/infinst.exe)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${seconds} SKIP_RETURN_CODE 77)
  endforeach()
  add_test(NAME e2e_i386_broken_guest_fails
      COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/check_broken_guest.sh
              ${INFINST_WIN32_DIR}/infinst.exe)
  set_tests_properties(e2e_i386_broken_guest_fails PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
  # The failure paths of the tools that set the machine up, against
  # stand-ins: seconds each, with no package mirror and no guest booted.
  add_test(NAME tools_install_deps_retries
      COMMAND ${CMAKE_SOURCE_DIR}/tools/tests/install-deps.sh)
  add_test(NAME tools_vm32_broken_cache
      COMMAND ${CMAKE_SOURCE_DIR}/tools/tests/vm32-broken-cache.sh)
  set_tests_properties(tools_install_deps_retries tools_vm32_broken_cache
      PROPERTIES TIMEOUT 60 SKIP_RETURN_CODE 77)
endif()
