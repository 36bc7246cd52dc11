list(APPEND UI_SOURCES app/Stats.h app/Stats.cpp)
