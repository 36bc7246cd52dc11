list(APPEND MUSIC_SOURCES tools/temperament/TetScale.h tools/temperament/TetScale.cpp)
list(APPEND UI_SOURCES
    tools/temperament/ScaleStepsModel.h tools/temperament/ScaleStepsModel.cpp
    tools/temperament/TemperamentController.h tools/temperament/TemperamentController.cpp)
list(APPEND QML_FILES tools/temperament/TemperamentView.qml)
