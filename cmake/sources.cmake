# The lists of portable logic (everything but the platform layer), read by
# the main build and by the fuzzing build (fuzz/), so that both compile the
# same lists.
#
# What the programs share, compiled once into one library that each
# program links: the printing helper, the shortfall count and the file
# questions (src/common/), reading INF files as the installer reads them
# (src/inf/), and one run over an INF file as the installer and the
# uninstaller both make it (src/session/). A program takes from it only
# what it uses.
set(SHARED_SOURCES
    src/common/say.cpp
    src/common/shortfall.cpp
    src/common/files.cpp
    src/inf/text.cpp
    src/inf/names.cpp
    src/inf/inf_path.cpp
    src/inf/inf_directory.cpp
    src/inf/inf_stream.cpp
    src/inf/inf_passes.cpp
    src/inf/addreg_line.cpp
    src/inf/directory_ids.cpp
    src/inf/claimed_keys.cpp
    src/inf/destinations.cpp
    src/session/session.cpp
    src/record/record_item.cpp
    src/record/record_file.cpp
    src/record/record.cpp)

# The installer's own logic.
set(INFINST_SOURCES
    src/run/run.cpp
    src/run/overwrite.cpp
    src/install/copy_section.cpp
    src/install/addreg_section.cpp
    src/install/driver_image_path.cpp)

# The converter's own logic (infconv).
set(INFCONV_SOURCES
    src/infconv/conv_files.cpp
    src/infconv/conv_imports.cpp
    src/infconv/conv_exports.cpp
    src/infconv/conv_reader.cpp
    src/infconv/conv_output.cpp
    src/infconv/conv_report.cpp
    src/infconv/conv_copy.cpp
    src/infconv/conv_addreg.cpp
    src/infconv/conv_gate.cpp
    src/infconv/conv_services.cpp
    src/infconv/conv_convert.cpp
    src/infconv/conv_run.cpp)

# The converter's tables of the names NT 3.5x exports, which its import
# check looks names up in: generated into the build folder from the lists
# of tools/nt35-exports by tools/export_sets.py, so that the lists and the
# tables cannot drift apart. Sets `variable` to the generated source, which
# each build adds beside INFCONV_SOURCES; `root` is the repository's.
function(infinst_export_sets variable root)
  set(lists ntoskrnl ntoskrnl350 hal kernel32 advapi32 crtdll)
  list(TRANSFORM lists PREPEND "${root}/tools/nt35-exports/")
  list(TRANSFORM lists APPEND ".txt")
  set(output "${CMAKE_CURRENT_BINARY_DIR}/conv_export_sets.cpp")
  add_custom_command(OUTPUT "${output}"
      COMMAND python3 "${root}/tools/export_sets.py" "${root}/tools/nt35-exports" "${output}"
      DEPENDS "${root}/tools/export_sets.py" ${lists}
      COMMENT "Coding the export lists of NT 3.5x for infconv")
  set(${variable} "${output}" PARENT_SCOPE)
endfunction()

# The uninstaller's own logic (infundo).
set(INFUNDO_SOURCES
    src/infundo/undo_table.cpp
    src/infundo/undo_collect.cpp
    src/infundo/undo_files.cpp
    src/infundo/undo_registry.cpp
    src/infundo/undo_records.cpp
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
