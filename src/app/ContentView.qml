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

    // Screens by raw tool id; a tool without a screen yet shows the bare backdrop.
    readonly property var screens: ({
            "bpm": bpmScreen,
            "rhythm": rhythmScreen,
            "space": spaceScreen,
            "frequency": frequencyScreen,
            "temperament": temperamentScreen,
            "overtones": overtonesScreen,
            "harmony": harmonyScreen
        })

    Component {
        id: bpmScreen
        BPMView {
            calculator: calculatorState
            accent: MorvelaTheme.saffron
        }
    }
    Component {
        id: rhythmScreen
        EuclideanRhythmView {
            calculator: calculatorState
            accent: MorvelaTheme.fern
        }
    }
    Component {
        id: spaceScreen
        ReverbDelayView {
            calculator: calculatorState
            accent: MorvelaTheme.dusk
        }
    }
    Component {
        id: frequencyScreen
        NoteFrequencyView {
            calculator: calculatorState
            accent: MorvelaTheme.teal
        }
    }
    Component {
        id: temperamentScreen
        TemperamentView {
            calculator: calculatorState
            accent: MorvelaTheme.lake
        }
    }
    Component {
        id: overtonesScreen
        HarmonicSeriesView {
            calculator: calculatorState
            accent: MorvelaTheme.copper
        }
    }
    Component {
        id: harmonyScreen
        CircleOfFifthsView {
            calculator: calculatorState
            accent: MorvelaTheme.lacquer
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
            sourceComponent: root.screens[shell.effectiveToolId] ?? null
        }
    }

    Component.onCompleted: shell.contentShown(Window.window)
}
