list(APPEND MUSIC_SOURCES tools/rhythm/Euclid.h tools/rhythm/Euclid.cpp)
list(APPEND UI_SOURCES
    tools/rhythm/EuclideanRhythmController.h tools/rhythm/EuclideanRhythmController.cpp
    tools/rhythm/EuclidWheelGeometry.h tools/rhythm/EuclidWheelGeometry.cpp)
list(APPEND QML_FILES tools/rhythm/EuclideanRhythmView.qml tools/rhythm/EuclidWheel.qml)
