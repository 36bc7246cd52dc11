import QtQuick
import QtQuick.Controls.Basic
import Morvela

ApplicationWindow {
    id: mainWindow
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

    // Size, position and the maximised flag, restored at start and remembered once settled.
    WindowPlacement {
        id: placement
        window: mainWindow
    }

    // The size hints are only hints to some window systems: never lay out below the minimum.
    onWidthChanged: {
        if (width < minimumWidth)
            width = minimumWidth
    }
    onHeightChanged: {
        if (height < minimumHeight)
            height = minimumHeight
    }

    // From either window.
    Shortcut {
        sequence: "Ctrl+Q"
        context: Qt.ApplicationShortcut
        onActivated: Qt.quit()
    }

    Component.onCompleted: placement.restoreAndShow()
}
