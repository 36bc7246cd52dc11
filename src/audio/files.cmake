list(APPEND MUSIC_SOURCES audio/SynthBuffers.h audio/SynthBuffers.cpp)
# The synthesis loops are written to vectorise; -O3 lets GCC do it.
set_source_files_properties(audio/SynthBuffers.cpp PROPERTIES COMPILE_OPTIONS "-O3")
