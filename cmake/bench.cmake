# The benchmark of a whole run on the fake platform (bench/, Google
# Benchmark from Debian's libbenchmark-dev), included from host.cmake
# unless INFINST_BENCH is set OFF. The host and sanitize builds run it
# once per size as a smoke test, labelled "bench"; the real figures come
# from the bench preset (Release).

find_package(benchmark REQUIRED)
add_executable(infinst_bench bench/bench_run.cpp)
target_compile_options(infinst_bench PRIVATE ${INFINST_FLAGS})
target_link_libraries(infinst_bench PRIVATE infinst_logic infinst_fake benchmark::benchmark)
# One pass over every size, to keep the benchmark building and running.
add_test(NAME infinst_bench_smoke COMMAND infinst_bench --benchmark_min_time=0.000001)
set_tests_properties(infinst_bench_smoke PROPERTIES LABELS bench)
