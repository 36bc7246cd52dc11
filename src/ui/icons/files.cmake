list(APPEND UI_SOURCES ui/icons/IconProvider.h ui/icons/IconProvider.cpp)
list(APPEND QML_FILES ui/icons/Icon.qml)
# One SVG per symbol name the screens pass; the file name is the name.
list(APPEND QML_RESOURCES
    ui/icons/arrow.counterclockwise.svg
    ui/icons/arrow.triangle.2.circlepath.svg
    ui/icons/arrow.up.right.svg
    ui/icons/chart.bar.fill.svg
    ui/icons/checkmark.circle.svg
    ui/icons/chevron.down.svg
    ui/icons/chevron.up.svg
    ui/icons/circle.dotted.svg
    ui/icons/dial.medium.svg
    ui/icons/doc.on.doc.svg
    ui/icons/gearshape.svg
    ui/icons/hand.tap.svg
    ui/icons/metronome.svg
    ui/icons/music.note.list.svg
    ui/icons/music.note.svg
    ui/icons/pianokeys.svg
    ui/icons/play.circle.svg
    ui/icons/play.fill.svg
    ui/icons/slider.horizontal.3.svg
    ui/icons/slider.horizontal.below.rectangle.svg
    ui/icons/smallcircle.filled.circle.svg
    ui/icons/sparkles.svg
    ui/icons/stop.fill.svg
    ui/icons/tablecells.svg
    ui/icons/tuningfork.svg
    ui/icons/water.waves.svg
    ui/icons/waveform.path.svg
    ui/icons/waveform.svg
)
