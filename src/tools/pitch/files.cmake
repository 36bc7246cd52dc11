list(APPEND MUSIC_SOURCES tools/pitch/NoteFrequency.h tools/pitch/NoteFrequency.cpp)
