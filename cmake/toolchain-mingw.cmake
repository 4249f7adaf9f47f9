# Cross-compiling for Windows with Debian's mingw-w64, for the processor
# the preset names in INFINST_ARCH: i686 (the executable shipped to NT 3.x,
# linked against crtdll.dll) or x86_64 (the same program against
# msvcrt.dll, run under Wine). The win32 thread model keeps pthread out.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${INFINST_ARCH})
set(CMAKE_C_COMPILER ${INFINST_ARCH}-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER ${INFINST_ARCH}-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER ${INFINST_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${INFINST_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
