list(APPEND MUSIC_SOURCES
    audio/SynthBuffers.h audio/SynthBuffers.cpp
    audio/SpscQueue.h audio/FrameClock.h audio/FrameClock.cpp
    audio/VoiceMixer.h audio/VoiceMixer.cpp)
# The synthesis loops are written to vectorise; -O3 lets GCC do it.
set_source_files_properties(audio/SynthBuffers.cpp PROPERTIES COMPILE_OPTIONS "-O3")
