# Hardening of the Linux build, included from host.cmake: the switch for the
# Wine end-to-end tests and the benchmark of a whole run.
#
#  - INFINST_E2E (ON): registers the Wine end-to-end tests; the sanitize and
#    bench presets turn it off, since those builds have no Windows program.
#  - INFINST_BENCH (ON): builds bench/infinst_bench (Google Benchmark,
#    Debian's libbenchmark-dev) and a short smoke test of it, labelled
#    "bench"; the real figures come from the bench preset (Release).
#
# The sanitizers of the sanitize preset come from its CMAKE_CXX_FLAGS (see
# CMakePresets.json), the fuzzer from fuzz/ (tools/fuzz), the static checks
# from tools/lint and tools/format-check.

option(INFINST_E2E "Register the end-to-end tests of the Windows build under Wine" ON)
option(INFINST_BENCH "Build the benchmark of a whole run on the fake platform" ON)

if(INFINST_BENCH)
  find_package(benchmark REQUIRED)
  add_executable(infinst_bench bench/bench_run.cpp)
  target_compile_options(infinst_bench PRIVATE ${INFINST_FLAGS})
  target_link_libraries(infinst_bench PRIVATE infinst_logic infinst_fake benchmark::benchmark)
  # One pass over every size, to keep the benchmark building and running.
  add_test(NAME infinst_bench_smoke
           COMMAND infinst_bench --benchmark_min_time=0.000001)
  set_tests_properties(infinst_bench_smoke PROPERTIES LABELS bench)
endif()
