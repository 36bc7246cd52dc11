list(APPEND MUSIC_SOURCES tools/space/ReverbDelay.h tools/space/ReverbDelay.cpp)
list(APPEND UI_SOURCES tools/space/ReverbDelayController.h tools/space/ReverbDelayController.cpp)
list(APPEND QML_FILES tools/space/ReverbDelayView.qml)
