list(APPEND UI_SOURCES
    platform/Clipboard.h platform/Clipboard.cpp
    platform/DelayedAction.h platform/RepeatingTimer.h
    platform/QtTimers.h platform/QtTimers.cpp
    platform/Services.h platform/Services.cpp
    platform/Appearance.h platform/Appearance.cpp
    platform/StateFiles.h platform/StateFiles.cpp)
list(APPEND UI_SOURCES platform/Preferences.h platform/Preferences.cpp)
