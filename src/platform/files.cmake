list(APPEND UI_SOURCES
    platform/Clipboard.h platform/Clipboard.cpp
    platform/DelayedAction.h platform/RepeatingTimer.h
    platform/QtTimers.h platform/QtTimers.cpp
    platform/Services.h platform/Services.cpp
    platform/Appearance.h platform/Appearance.cpp
    platform/StateFiles.h platform/StateFiles.cpp)
list(APPEND UI_SOURCES platform/Preferences.h platform/Preferences.cpp)
list(APPEND UI_SOURCES platform/SceneGraphBackend.h platform/SceneGraphBackend.cpp)
# The X server's extensions tell whether OpenGL would be drawn on the CPU.
find_package(PkgConfig REQUIRED)
pkg_check_modules(MORVELA_XCB REQUIRED xcb)
list(APPEND UI_LINK_LIBRARIES ${MORVELA_XCB_LINK_LIBRARIES})
