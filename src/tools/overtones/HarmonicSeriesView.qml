pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Morvela

// The Overtones screen: the first sixteen harmonics of a chosen note as a bar spectrum, each
// bar with its nearest note and drift; bars sound one by one, summed, or as a sweep. The sweep
// stops when the screen goes.
Flickable {
    id: view
    property CalculatorState calculator
    property color accent: MorvelaTheme.copper

    readonly property int padding: 28
    readonly property bool sweeping: calculator ? calculator.overtoneSweeping : false

    contentWidth: Math.max(width, 640)
    contentHeight: content.implicitHeight + 2 * padding
    boundsBehavior: Flickable.StopAtBounds
    clip: true

    ScrollBar.vertical: ScrollBar {
        policy: view.contentHeight > view.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
    }

    HarmonicSeriesController {
        id: overtones
        objectName: "overtonesController"
        calculator: view.calculator
        screen: view
    }

    ColumnLayout {
        id: content
        x: view.padding
        y: view.padding
        width: view.contentWidth - 2 * view.padding
        spacing: 18

        ToolHeader {
            Layout.fillWidth: true
            eyebrow: "Overtones"
            title: "Harmonic Series"
            symbol: "waveform.path"
            tint: view.accent
            metrics: [
                { label: "f₀ · " + overtones.fundamentalName, value: overtones.fundamentalText + " Hz",
                  tint: view.accent, copy: overtones.fundamentalText },
                { label: "3× · " + overtones.thirdName, value: overtones.thirdText + " Hz",
                  tint: MorvelaTheme.teal, copy: overtones.thirdText },
                { label: "5× · " + overtones.fifthName, value: overtones.fifthText + " Hz",
                  tint: MorvelaTheme.saffron, copy: overtones.fifthText }
            ]
        }

        PremiumPanel {
            Layout.fillWidth: true
            title: "Fundamental"
            symbol: "tuningfork"
            tint: view.accent

            // The pitch and the actions on one line where they fit, else the actions below.
            GridLayout {
                objectName: "fundamentalRow"
                Layout.fillWidth: true
                columns: width >= pitchRow.implicitWidth + actionRow.implicitWidth + columnSpacing ? 2 : 1
                columnSpacing: 8
                rowSpacing: 10

                RowLayout {
                    id: pitchRow
                    Layout.fillWidth: true
                    spacing: 8

                    MenuButton {
                        objectName: "noteMenu"
                        Layout.preferredWidth: 76
                        text: overtones.noteName
                        entries: overtones.noteNames
                        tint: view.accent
                        Accessible.description: "Note of the fundamental"
                        onChosen: index => overtones.choosePitchClass(index)
                    }
                    MenuButton {
                        objectName: "octaveMenu"
                        Layout.preferredWidth: 110
                        text: overtones.octaveName
                        entries: overtones.octaveNames
                        tint: view.accent
                        Accessible.description: "Octave of the fundamental"
                        onChosen: index => overtones.chooseOctave(index)
                    }
                    CopyableValue {
                        id: fundamentalValue
                        objectName: "fundamentalValue"
                        Layout.leftMargin: 6
                        text: overtones.fundamentalText
                        accessibleName: overtones.fundamentalText + " Hz"

                        Text {
                            objectName: "face"
                            text: fundamentalValue.copied ? "Copied" : overtones.fundamentalText + " Hz"
                            font.family: MorvelaTheme.monoFamily
                            font.pixelSize: 18
                            font.weight: Font.DemiBold
                            color: fundamentalValue.copied ? view.accent : MorvelaTheme.primaryText
                            leftPadding: 4
                            rightPadding: 4
                        }
                    }
                    Item {
                        Layout.fillWidth: true
                    }
                }
                RowLayout {
                    id: actionRow
                    spacing: 8

                    ActionButton {
                        objectName: "allButton"
                        text: "All"
                        symbol: "checkmark.circle"
                        toolTipText: "Enable all 16 harmonics"
                        onActivated: overtones.enableAll()
                    }
                    ActionButton {
                        objectName: "triadButton"
                        text: "4:5:6"
                        symbol: "music.note"
                        toolTipText: "Just the major-triad harmonics"
                        onActivated: overtones.enableMajorTriad()
                    }
                    ActionButton {
                        objectName: "sweepButton"
                        text: view.sweeping ? "Stop" : "Sweep"
                        symbol: view.sweeping ? "stop.fill" : "arrow.up.right"
                        labelWidth: 66
                        toolTipText: "Play harmonics 1× to 16× in order"
                        onActivated: overtones.toggleSweep()
                    }
                    ActionButton {
                        objectName: "playButton"
                        text: "Play"
                        symbol: "play.fill"
                        prominent: true
                        enabled: overtones.canPlay
                        toolTipText: "Play the sum of enabled harmonics"
                        onActivated: overtones.playChord()
                    }
                }
            }
        }

        PremiumPanel {
            Layout.fillWidth: true
            title: "Spectrum · click a bar to toggle & audition"
            symbol: "chart.bar.fill"
            tint: MorvelaTheme.teal

            Row {
                id: strip
                objectName: "spectrum"
                Layout.fillWidth: true
                Layout.preferredHeight: 300
                spacing: 5

                Repeater {
                    id: bars
                    model: overtones.bars

                    HarmonicBar {
                        required property int index
                        objectName: "bar" + number
                        width: (strip.width - (bars.count - 1) * strip.spacing) / Math.max(bars.count, 1)
                        height: strip.height
                        accent: view.accent
                        onTapped: overtones.toggleHarmonic(number)
                        onCopyFrequency: overtones.copyFrequency(number)
                        onCopyNoteName: overtones.copyNoteName(number)
                        onMoveFocus: delta => bars.itemAt(Math.min(Math.max(index + delta, 0), bars.count - 1))
                                     .forceActiveFocus(Qt.TabFocusReason)
                    }
                }
            }

            Caption {
                Layout.fillWidth: true
                Layout.topMargin: 12
                text: "Bar height = 1/n (sawtooth amplitude) · cents show the drift from 12-TET: green = in tune, amber = noticeable, red = far off the grid · right-click a bar to copy its Hz"
                font.pixelSize: 11
                wrapMode: Text.Wrap
            }
        }

        FormulaStrip {
            Layout.fillWidth: true
            text: "fₙ = n × f₀   ·   4:5:6 = major triad   ·   7× lands 31¢ flat of the grid — the “blue” seventh"
        }
    }

    // A bordered button with a symbol and a label and its hover help; `prominent` fills it with
    // the accent. Space, Return and the screen reader's press run it.
    component ActionButton: AbstractButton {
        id: button
        property string symbol
        property string toolTipText
        property bool prominent
        property real labelWidth: -1
        signal activated

        implicitWidth: implicitContentWidth + leftPadding + rightPadding
        implicitHeight: 28
        leftPadding: 10
        rightPadding: 10
        hoverEnabled: true
        opacity: enabled ? 1 : 0.45
        onClicked: activated()
        Keys.onReturnPressed: activated()
        Keys.onEnterPressed: activated()

        ToolTip.visible: hovered
        ToolTip.delay: 700
        ToolTip.text: toolTipText
        Accessible.role: Accessible.Button
        Accessible.name: text
        Accessible.description: toolTipText
        Accessible.onPressAction: if (enabled) activated()

        background: Rectangle {
            radius: 6
            color: button.prominent ? (button.pressed ? Qt.darker(view.accent, 1.15) : view.accent)
                                    : button.pressed ? Qt.alpha(view.accent, 0.2) : MorvelaTheme.cardFill
            border.width: button.visualFocus ? 2 : button.prominent ? 0 : 1
            border.color: button.visualFocus ? (button.prominent ? MorvelaTheme.primaryText : view.accent)
                                             : MorvelaTheme.hairline
        }
        contentItem: Row {
            spacing: 5
            Icon {
                anchors.verticalCenter: parent.verticalCenter
                name: button.symbol
                color: button.prominent ? "white" : view.accent
                size: 12
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                width: button.labelWidth >= 0 ? button.labelWidth : implicitWidth
                horizontalAlignment: Text.AlignHCenter
                text: button.text
                font.pixelSize: 12
                font.weight: Font.Medium
                color: button.prominent ? "white" : MorvelaTheme.primaryText
            }
        }
    }
}
