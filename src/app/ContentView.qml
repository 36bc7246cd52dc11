import QtQuick
import QtQuick.Layouts
import Morvela

// The root view: backdrop, sidebar, divider and the selected tool's screen. It owns the one
// CalculatorState of the window.
Item {
    id: root
    readonly property alias calculatorState: calculatorState
    readonly property alias shell: shell
    readonly property alias sidebar: sidebar
    readonly property alias detail: detail

    CalculatorState {
        id: calculatorState
    }
    ShellController {
        id: shell
    }

    // Screens by raw tool id, each loaded from its own file when chosen: at start only the
    // chosen screen's types are compiled and loaded, not all seven. A tool without a screen
    // shows the bare backdrop.
    readonly property var screens: ({
            "bpm": "../tools/tempo/BPMView.qml",
            "rhythm": "../tools/rhythm/EuclideanRhythmView.qml",
            "space": "../tools/space/ReverbDelayView.qml",
            "frequency": "../tools/pitch/NoteFrequencyView.qml",
            "temperament": "../tools/temperament/TemperamentView.qml",
            "overtones": "../tools/overtones/HarmonicSeriesView.qml",
            "harmony": "../tools/harmony/CircleOfFifthsView.qml"
        })

    // Choosing the tool on screen again keeps its screen as it is.
    function showChosenScreen() {
        const path = screens[shell.effectiveToolId]
        const url = path ? String(Qt.resolvedUrl(path)) : ""
        if (url === String(detail.source))
            return
        if (url)
            detail.setSource(url, { calculator: calculatorState })
        else
            detail.source = ""
    }

    Connections {
        target: shell
        function onSelectionChanged() {
            root.showChosenScreen()
        }
    }

    PremiumBackdrop {
        anchors.fill: parent
    }

    RowLayout {
        anchors.fill: parent
        spacing: 0

        Sidebar {
            id: sidebar
            Layout.fillHeight: true
            Layout.preferredWidth: 228
            shell: shell
            calculatorState: calculatorState

            SettingsButton {}
        }
        Rectangle {
            Layout.fillHeight: true
            implicitWidth: 1
            color: MorvelaTheme.divider
            opacity: 0.32
        }
        // No transition: the new screen replaces the old one at once.
        Loader {
            id: detail
            Layout.fillWidth: true
            Layout.fillHeight: true
        }
    }

    Component.onCompleted: {
        showChosenScreen()
        shell.contentShown(Window.window)
    }
}
