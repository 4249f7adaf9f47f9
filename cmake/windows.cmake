# The Windows executable. Both builds compile the same sources with the
# same options; they differ only in the target and the C runtime:
#  - i686 links against crtdll.dll, the C runtime of Windows NT 3.x, with a
#    startup of its own, code for any 386, and a header that NT 3.5 loads
#    (subsystem and OS version 3.10, no dynamic base, no NX);
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

set(INFINST_WINDOWS_FLAGS
    ${INFINST_PROGRAM_FLAGS} -Os -fno-asynchronous-unwind-tables
    -ffunction-sections -fdata-sections
    -D__USE_MINGW_ANSI_STDIO=0 -include stdio.h)
set(INFINST_WINDOWS_LINK_FLAGS
    -static -static-libgcc -nodefaultlibs -s
    -Wl,--gc-sections -Wl,--disable-auto-import -Wl,--no-insert-timestamp)

enable_language(RC)
configure_file(src/platform/version.rc.in version.rc @ONLY)

set(INFINST_WINDOWS_SOURCES
    ${INFINST_SOURCES} src/run/main.cpp src/platform/platform-win32.cpp
    ${CMAKE_CURRENT_BINARY_DIR}/version.rc)
if(INFINST_RUNTIME STREQUAL "crtdll")
  list(APPEND INFINST_WINDOWS_SOURCES src/platform/startup-crtdll.cpp)
  list(APPEND INFINST_WINDOWS_FLAGS -D__CRTDLL__ -march=i386 -mtune=i686)
  list(APPEND INFINST_WINDOWS_LINK_FLAGS
      -nostartfiles -Wl,-e,_mainCRTStartup
      -Wl,--subsystem,console:3.10,--major-os-version,3,--minor-os-version,10
      -Wl,--disable-dynamicbase,--disable-nxcompat)
endif()

add_executable(infinst ${INFINST_WINDOWS_SOURCES})
target_include_directories(infinst PRIVATE src)
target_compile_options(infinst PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${INFINST_WINDOWS_FLAGS}>")
target_link_options(infinst PRIVATE ${INFINST_WINDOWS_LINK_FLAGS})
target_link_libraries(infinst PRIVATE
    -Wl,--start-group mingw32 gcc mingwex ${INFINST_RUNTIME} kernel32 advapi32 -Wl,--end-group)
