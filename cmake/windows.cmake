# The Windows executables: the installer, the converter and the
# uninstaller. Both builds
# compile the same sources with the same options; they differ only in the
# target and the C runtime:
#  - i686 links against crtdll.dll, the C runtime of Windows NT 3.x, with a
#    startup of its own, code for any 386, and a header that NT 3.5 loads
#    (subsystem and OS version 3.10, no dynamic base, no NX) with no
#    relocation table: NT maps a program's executable first, always at
#    its preferred base, so its relocations are never applied (the
#    linkers of NT 3.x's time left them out of executables as well);
#  - x86_64 links against msvcrt.dll with mingw's startup, to run under
#    Wine in the end-to-end tests.
# Everything else (libgcc, the startup code) is linked statically, and
# mingw's own printf is kept out: the program prints through the
# runtime's. libstdc++'s headers switch that printf back on through
# windows.h, so stdio.h is read first, before they can.
#
# The build is reproducible: no link time stamp in the header and no build
# path in the file, so the same commit gives the same bytes wherever and
# whenever it is built (tools/release relies on that). The version resource
# carries the project's version.

# Functions each in a section of their own, so that the linker drops those
# a program does not call. Data stays out of -fdata-sections: the
# programs' tables are large and zero at start and must stay in .bss,
# which takes no room in the file, but mingw's linker script gathers only
# plain .bss there and lays the .bss.* sections out in .data, on disk.
# Data is aligned as the ABI asks and no more (-malign-data=abi): the
# 32-byte alignment GCC gives larger arrays for speed cost every object's
# constants hundreds of bytes in all.
set(INFINST_WINDOWS_FLAGS
    ${INFINST_PROGRAM_FLAGS} -Os -malign-data=abi -fno-asynchronous-unwind-tables
    -ffunction-sections
    -D__USE_MINGW_ANSI_STDIO=0 -include stdio.h)
set(INFINST_WINDOWS_LINK_FLAGS
    -static -static-libgcc -nodefaultlibs -s
    -Wl,--gc-sections -Wl,--disable-auto-import -Wl,--no-insert-timestamp)

# Code for a 386, which has no SSE: nothing needs the stack aligned beyond
# the 4 bytes Windows keeps it at, so no function pads its frame to 16.
if(INFINST_RUNTIME STREQUAL "crtdll")
  set(INFINST_ARCH_FLAGS -D__CRTDLL__ -march=i386 -mtune=i686 -mpreferred-stack-boundary=2)
endif()

enable_language(RC)

# One Windows program: its sources, its entry point, the platform layer
# and its own version resource, with the options above.
function(infinst_windows_program target description file)
  set(VERSION_DESCRIPTION "${description}")
  set(VERSION_NAME "${target}")
  set(VERSION_FILE "${file}")
  configure_file(src/platform/version.rc.in ${target}-version.rc @ONLY)
  set(sources ${ARGN} src/platform/platform-win32.cpp src/platform/platform-stdio.cpp
      ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
  set(flags ${INFINST_WINDOWS_FLAGS} ${INFINST_ARCH_FLAGS})
  set(link_flags ${INFINST_WINDOWS_LINK_FLAGS})
  if(INFINST_RUNTIME STREQUAL "crtdll")
    list(APPEND sources src/platform/startup-crtdll.cpp)
    list(APPEND link_flags
        -nostartfiles -Wl,-e,_mainCRTStartup
        -Wl,--subsystem,console:3.10,--major-os-version,3,--minor-os-version,10
        -Wl,--disable-dynamicbase,--disable-nxcompat,--disable-reloc-section)
  endif()
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE src)
  target_compile_options(${target} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${flags}>")
  target_link_options(${target} PRIVATE ${link_flags})
  target_link_libraries(${target} PRIVATE infinst_shared
      -Wl,--start-group mingw32 gcc mingwex ${INFINST_RUNTIME} kernel32 advapi32 -Wl,--end-group)
endfunction()

# The shared sources once, for all three programs; each takes from the
# library only what it uses.
add_library(infinst_shared STATIC ${SHARED_SOURCES})
target_include_directories(infinst_shared PUBLIC src)
target_compile_options(infinst_shared PRIVATE ${INFINST_WINDOWS_FLAGS} ${INFINST_ARCH_FLAGS})

infinst_windows_program(infinst "Windows NT 3.x用 ドライバINFインストーラ" INFINST.EXE
    ${INFINST_SOURCES} src/run/main.cpp)
infinst_export_sets(INFCONV_EXPORT_SETS "${CMAKE_SOURCE_DIR}")
infinst_windows_program(infconv "NT 4.0形式ドライバINFのinfinst用変換ツール" INFCONV.EXE
    ${INFCONV_SOURCES} ${INFCONV_EXPORT_SETS} src/infconv/main.cpp)
infinst_windows_program(infundo "Windows NT 3.x用 ドライバINFアンインストーラ" INFUNDO.EXE
    ${INFUNDO_SOURCES} src/infundo/main.cpp)
