import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Morvela

// The Rhythm screen: the Euclidean pattern on a wheel, its controls and the click loop. The
// loop stops when the screen goes (the Loader drops it when another tool is chosen).
Flickable {
    id: view
    property CalculatorState calculator
    property color accent: MorvelaTheme.fern

    readonly property int padding: 28
    // The wheel's full size; it shrinks to the panel when the window is narrower.
    readonly property int wheelSize: 430

    contentWidth: Math.max(width, 640)
    contentHeight: content.implicitHeight + 2 * padding
    boundsBehavior: Flickable.StopAtBounds
    clip: true

    ScrollBar.vertical: ScrollBar {
        policy: view.contentHeight > view.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
    }

    Component.onDestruction: rhythm.stop()

    EuclideanRhythmController {
        id: rhythm
        objectName: "rhythmController"
        calculator: view.calculator
    }

    ColumnLayout {
        id: content
        x: view.padding
        y: view.padding
        width: view.contentWidth - 2 * view.padding
        spacing: 18

        ToolHeader {
            Layout.fillWidth: true
            eyebrow: "Rhythm"
            title: "Euclidean Rhythms"
            symbol: "circle.dotted"
            tint: view.accent
            metrics: [
                { label: "Pattern", value: rhythm.patternName, tint: view.accent },
                { label: rhythm.stepLabel, value: rhythm.stepText, tint: MorvelaTheme.saffron, copy: rhythm.stepCopy },
                { label: "Cycle", value: rhythm.cycleText, tint: MorvelaTheme.teal, copy: rhythm.cycleCopy }
            ]
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 18

            PremiumPanel {
                id: wheelPanel
                Layout.fillWidth: true
                Layout.alignment: Qt.AlignTop
                title: "Pattern Wheel"
                symbol: "circle.dotted"
                tint: view.accent

                // Sized from the panel, not from this frame: the frame's height follows the wheel.
                Item {
                    Layout.fillWidth: true
                    implicitHeight: wheel.height

                    EuclidWheel {
                        id: wheel
                        objectName: "wheel"
                        anchors.horizontalCenter: parent.horizontalCenter
                        width: Math.min(view.wheelSize, wheelPanel.width - 32)
                        height: width
                        pattern: rhythm.pattern
                        currentStep: rhythm.currentStep
                        accent: view.accent
                        title: rhythm.patternName
                        subtitle: rhythm.wheelSubtitle
                        accessibleName: rhythm.patternSummary
                        onStepPressed: step => rhythm.tick(step)
                    }
                }
            }

            PremiumPanel {
                Layout.preferredWidth: 296
                Layout.alignment: Qt.AlignTop
                title: "Pattern Controls"
                symbol: "slider.horizontal.3"
                tint: view.accent

                ColumnLayout {
                    id: controlsColumn
                    Layout.fillWidth: true
                    spacing: 13

                    CounterRow {
                        objectName: "stepsRow"
                        tint: view.accent
                        label: "Steps (n)"
                        current: rhythm.steps
                        lowest: rhythm.minimumSteps
                        highest: rhythm.maximumSteps
                        canStepUp: rhythm.canIncreaseSteps
                        canStepDown: rhythm.canDecreaseSteps
                        onStepped: delta => rhythm.stepSteps(delta)
                    }
                    CounterRow {
                        objectName: "pulsesRow"
                        tint: view.accent
                        label: "Pulses (k)"
                        current: rhythm.pulses
                        lowest: 0
                        highest: rhythm.steps
                        canStepUp: rhythm.canIncreasePulses
                        canStepDown: rhythm.canDecreasePulses
                        onStepped: delta => rhythm.stepPulses(delta)
                    }
                    CounterRow {
                        objectName: "rotationRow"
                        tint: view.accent
                        label: "Rotation"
                        current: rhythm.rotation
                        lowest: 0
                        highest: rhythm.maximumRotation
                        canStepUp: rhythm.canIncreaseRotation
                        canStepDown: rhythm.canDecreaseRotation
                        onStepped: delta => rhythm.stepRotation(delta)
                    }

                    Rectangle {
                        Layout.fillWidth: true
                        implicitHeight: 1
                        color: MorvelaTheme.divider
                        opacity: 0.4
                    }

                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: 8

                        Caption {
                            text: "STEP LENGTH"
                            font.weight: Font.DemiBold
                        }
                        SegmentedPicker {
                            objectName: "notePicker"
                            segmentWidth: (controlsColumn.width - 4) / 3
                            options: [
                                { label: "1/4", value: 4 },
                                { label: "1/8", value: 8 },
                                { label: "1/16", value: 16 }
                            ]
                            currentValue: rhythm.note
                            tint: view.accent
                            accessibleName: "Step length"
                            onActivated: value => rhythm.chooseNote(value)
                        }
                        Caption {
                            objectName: "tempoCaption"
                            text: rhythm.tempoCaption
                            font.pixelSize: 11
                        }
                    }

                    MenuButton {
                        objectName: "presetsButton"
                        text: "Presets"
                        symbol: "sparkles"
                        tint: view.accent
                        entries: rhythm.presetLabels
                        onChosen: index => rhythm.applyPreset(index)
                    }

                    // Play / Stop, filled with the accent across the panel.
                    AbstractButton {
                        id: playButton
                        objectName: "playButton"
                        Layout.fillWidth: true
                        implicitHeight: 32
                        enabled: rhythm.canTogglePlayback
                        text: rhythm.playing ? "Stop" : "Play"
                        onClicked: rhythm.togglePlayback()
                        Keys.onReturnPressed: rhythm.togglePlayback()
                        Keys.onEnterPressed: rhythm.togglePlayback()

                        Accessible.role: Accessible.Button
                        Accessible.name: text
                        Accessible.onPressAction: rhythm.togglePlayback()

                        background: Rectangle {
                            radius: 7
                            color: playButton.pressed ? Qt.darker(view.accent, 1.15) : view.accent
                            opacity: playButton.enabled ? 1 : 0.4
                            border.width: playButton.visualFocus ? 2 : 0
                            border.color: MorvelaTheme.primaryText
                        }
                        contentItem: Item {
                            Row {
                                anchors.centerIn: parent
                                spacing: 6
                                Icon {
                                    anchors.verticalCenter: parent.verticalCenter
                                    name: rhythm.playing ? "stop.fill" : "play.fill"
                                    color: "white"
                                    size: 12
                                }
                                Text {
                                    anchors.verticalCenter: parent.verticalCenter
                                    text: playButton.text
                                    font.pixelSize: 13
                                    font.weight: Font.DemiBold
                                    color: "white"
                                }
                            }
                        }
                    }
                }
            }
        }

        FormulaStrip {
            Layout.fillWidth: true
            text: "E(k, n) spreads k hits as evenly as possible across n steps   ·   Tresillo = E(3,8)   ·   Bembé = E(7,12)"
        }
    }

    // A counter: its label, its value and a stepper.
    component CounterRow: RowLayout {
        id: row
        property string label
        property alias canStepUp: stepper.canStepUp
        property alias canStepDown: stepper.canStepDown
        property alias tint: stepper.tint
        property alias current: stepper.current
        property alias lowest: stepper.lowest
        property alias highest: stepper.highest
        signal stepped(int delta)

        Layout.fillWidth: true
        spacing: 10

        Text {
            text: row.label
            font.pixelSize: 12
            font.weight: Font.Medium
            color: MorvelaTheme.secondaryText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        Item {
            Layout.fillWidth: true
        }
        Text {
            objectName: "value"
            text: row.current
            font.family: MorvelaTheme.monoFamily
            font.pixelSize: 15
            font.weight: Font.DemiBold
            color: MorvelaTheme.primaryText
            Accessible.role: Accessible.StaticText
            Accessible.name: row.label + " " + text
        }
        Stepper {
            id: stepper
            objectName: "stepper"
            accessibleName: row.label
            onStepped: delta => row.stepped(delta)
        }
    }
}
