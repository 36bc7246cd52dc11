list(APPEND MUSIC_SOURCES
    tools/tempo/NoteDivisions.h tools/tempo/NoteDivisions.cpp
    tools/tempo/Tempo.h tools/tempo/Tempo.cpp
    tools/tempo/TapTempo.h tools/tempo/TapTempo.cpp)
