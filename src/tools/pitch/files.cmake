list(APPEND MUSIC_SOURCES tools/pitch/NoteFrequency.h tools/pitch/NoteFrequency.cpp)
list(APPEND UI_SOURCES
    tools/pitch/TuningControlsController.h tools/pitch/TuningControlsController.cpp
    tools/pitch/NoteFrequencyController.h tools/pitch/NoteFrequencyController.cpp
    tools/pitch/FrequencyMatrixModel.h tools/pitch/FrequencyMatrixModel.cpp)
list(APPEND QML_FILES tools/pitch/NoteFrequencyView.qml tools/pitch/TuningControlsView.qml)
