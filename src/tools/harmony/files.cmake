list(APPEND MUSIC_SOURCES
    tools/harmony/CircleOfFifths.h tools/harmony/CircleOfFifths.cpp
    tools/harmony/FifthsWheelGeometry.h tools/harmony/FifthsWheelGeometry.cpp)
list(APPEND UI_SOURCES
    tools/harmony/CircleOfFifthsController.h tools/harmony/CircleOfFifthsController.cpp)
list(APPEND QML_FILES
    tools/harmony/CircleOfFifthsView.qml tools/harmony/FifthsWheel.qml tools/harmony/RingSegmentShape.qml
    tools/harmony/KeyDetailPanel.qml tools/harmony/ChordCell.qml tools/harmony/ProgressionPanel.qml)
