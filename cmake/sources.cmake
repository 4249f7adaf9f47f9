# The installer's portable logic: everything but the platform layer. Read
# by the main build and by the fuzzing build (fuzz/), so that both compile
# the same list.
set(INFINST_SOURCES
    src/common/messages.cpp
    src/common/shortfall.cpp
    src/run/run.cpp
    src/run/overwrite.cpp
    src/inf/text.cpp
    src/inf/inf_stream.cpp
    src/inf/destinations.cpp
    src/install/copy_section.cpp
    src/install/addreg_section.cpp)
