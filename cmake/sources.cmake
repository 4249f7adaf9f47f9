# The lists of portable logic (everything but the platform layer), read by
# the main build and by the fuzzing build (fuzz/), so that both compile the
# same lists.
#
# Reading an INF file as the installer reads it, with the console around a
# run: shared by the installer and the uninstaller, so that the two cannot
# read one file two ways.
set(INF_READING_SOURCES
    src/common/messages.cpp
    src/common/shortfall.cpp
    src/common/console.cpp
    src/common/files.cpp
    src/inf/text.cpp
    src/inf/names.cpp
    src/inf/inf_path.cpp
    src/inf/inf_directory.cpp
    src/inf/inf_stream.cpp
    src/inf/inf_passes.cpp
    src/inf/addreg_line.cpp
    src/inf/destinations.cpp)

# The installer.
set(INFINST_SOURCES
    ${INF_READING_SOURCES}
    src/run/run.cpp
    src/run/overwrite.cpp
    src/install/copy_section.cpp
    src/install/addreg_section.cpp)

# The converter (infconv): its own logic and what it shares with the
# installer from below (the printed-text helper, the shortfall count, the
# read-only attribute, the INF text helpers). Its entry point and platform layer are added by each
# build.
set(INFCONV_SOURCES
    src/common/messages.cpp
    src/common/shortfall.cpp
    src/common/files.cpp
    src/inf/text.cpp
    src/inf/names.cpp
    src/inf/inf_directory.cpp
    src/infconv/conv_files.cpp
    src/infconv/conv_reader.cpp
    src/infconv/conv_output.cpp
    src/infconv/conv_convert.cpp
    src/infconv/conv_run.cpp)

# The uninstaller (infundo): its own logic and everything with which it
# reads an INF file exactly as the installer does. Its entry point and
# platform layer are added by each build.
set(INFUNDO_SOURCES
    ${INF_READING_SOURCES}
    src/infundo/undo_files.cpp
    src/infundo/undo_registry.cpp
    src/infundo/undo_run.cpp)

# The fake machine of the tests, the benchmark and the fuzzing builds, one
# file per service, and the run of a whole program on it.
set(INFINST_TEST_SUPPORT_SOURCES
    tests/support/fake_machine.cpp
    tests/support/fake_files.cpp
    tests/support/fake_registry.cpp
    tests/support/fake_console.cpp
    tests/support/fake_heap.cpp
    tests/support/fake_faults.cpp
    tests/support/run_program.cpp)
