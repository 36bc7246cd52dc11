list(APPEND MUSIC_SOURCES tools/overtones/HarmonicSeries.h tools/overtones/HarmonicSeries.cpp)
list(APPEND UI_SOURCES
    tools/overtones/HarmonicBarModel.h tools/overtones/HarmonicBarModel.cpp
    tools/overtones/HarmonicSeriesController.h tools/overtones/HarmonicSeriesController.cpp)
list(APPEND QML_FILES tools/overtones/HarmonicSeriesView.qml tools/overtones/HarmonicBar.qml)
