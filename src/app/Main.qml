import QtQuick
import QtQuick.Controls.Basic
import Morvela

ApplicationWindow {
    id: window
    readonly property alias content: content

    width: 960
    height: 720
    minimumWidth: 900
    minimumHeight: 680
    title: "Morvela Calculator"
    color: MorvelaTheme.windowBackground

    ContentView {
        id: content
        anchors.fill: parent
    }

    // Geometry is remembered with the window; every change is written at once.
    function remember(key, value) {
        if (restored)
            WindowState.setValue(key, value)
    }
    property bool restored: false
    // Only a plain window's geometry is remembered, not a maximised one's.
    property bool windowed: true
    // The size hints are only hints to some window systems: never lay out below the minimum.
    onWidthChanged: {
        if (width < minimumWidth)
            width = minimumWidth
        else if (windowed)
            remember("window/width", width)
    }
    onHeightChanged: {
        if (height < minimumHeight)
            height = minimumHeight
        else if (windowed)
            remember("window/height", height)
    }
    onXChanged: if (windowed) remember("window/x", x)
    onYChanged: if (windowed) remember("window/y", y)
    // Followed through the window state, which closing (hiding) leaves alone; a minimised or
    // full-screen window says nothing about how it should come back.
    onWindowStateChanged: state => {
        windowed = state === Qt.WindowNoState
        if (!(state & (Qt.WindowMinimized | Qt.WindowFullScreen)))
            remember("window/maximized", (state & Qt.WindowMaximized) !== 0)
    }

    Component.onCompleted: {
        const w = Number(WindowState.value("window/width", 960))
        const h = Number(WindowState.value("window/height", 720))
        width = Math.max(minimumWidth, w)
        height = Math.max(minimumHeight, h)
        const x0 = WindowState.value("window/x")
        const y0 = WindowState.value("window/y")
        if (x0 !== undefined && y0 !== undefined) {
            x = Number(x0)
            y = Number(y0)
        }
        if (WindowState.value("window/maximized", false) === true || WindowState.value("window/maximized") === "true")
            showMaximized()
        else
            show()
        restored = true
    }
}
