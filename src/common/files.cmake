list(APPEND MUSIC_SOURCES common/NumberText.h common/NumberText.cpp)
