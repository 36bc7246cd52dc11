list(APPEND MUSIC_SOURCES
    tools/tempo/NoteDivisions.h tools/tempo/NoteDivisions.cpp
    tools/tempo/Tempo.h tools/tempo/Tempo.cpp
    tools/tempo/TapTempo.h tools/tempo/TapTempo.cpp)
list(APPEND UI_SOURCES
    tools/tempo/BPMControlsController.h tools/tempo/BPMControlsController.cpp
    tools/tempo/BPMController.h tools/tempo/BPMController.cpp
    tools/tempo/SubdivisionMatrixModel.h tools/tempo/SubdivisionMatrixModel.cpp)
list(APPEND QML_FILES tools/tempo/BPMView.qml tools/tempo/BPMControlsView.qml)
