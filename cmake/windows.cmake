# The Windows executable, for the runtime the toolchain file chose: crtdll
# (the C runtime of Windows NT 3.x) for i686, msvcrt for x86_64. Both
# builds compile the same sources with the same options otherwise.

add_executable(infinst ${INFINST_SOURCES} src/run/main.cpp src/platform/platform-win32.cpp)
target_include_directories(infinst PRIVATE src)
target_compile_options(infinst PRIVATE ${INFINST_PROGRAM_FLAGS}
    -Os -ffunction-sections -fdata-sections -D__USE_MINGW_ANSI_STDIO=0)
target_link_options(infinst PRIVATE -static -s -Wl,--gc-sections)
