list(APPEND MUSIC_SOURCES
    audio/SynthBuffers.h audio/SynthBuffers.cpp
    audio/SpscQueue.h audio/FrameClock.h audio/FrameClock.cpp
    audio/VoiceMixer.h audio/VoiceMixer.cpp audio/RenderPacing.h)
# The synthesis loops are written to vectorise; -O3 lets GCC do it.
set_source_files_properties(audio/SynthBuffers.cpp PROPERTIES COMPILE_OPTIONS "-O3")

list(APPEND UI_SOURCES
    audio/SoundOutput.h audio/SoundOutput.cpp
    audio/AudioOutput.h
    audio/RtAudioOutput.h audio/RtAudioOutput.cpp
    audio/ChordPlayer.h audio/ChordPlayer.cpp)

find_package(PkgConfig REQUIRED)
pkg_check_modules(MORVELA_RTAUDIO REQUIRED rtaudio)
pkg_check_modules(MORVELA_ALSA REQUIRED alsa)
list(APPEND UI_LINK_LIBRARIES ${MORVELA_RTAUDIO_LINK_LIBRARIES} ${MORVELA_ALSA_LINK_LIBRARIES})
