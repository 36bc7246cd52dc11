list(APPEND UI_SOURCES platform/Preferences.h platform/Preferences.cpp)
