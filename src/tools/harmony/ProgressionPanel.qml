pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Morvela

// The progression player: the seven chords of the key to add, the loop (a click removes a
// chord), the tempo it plays at, presets, Clear and Play/Stop.
PremiumPanel {
    id: panel
    required property CircleOfFifthsController controller
    property color accent: MorvelaTheme.saffron

    readonly property color plainFill: MorvelaTheme.dark ? Qt.rgba(1, 1, 1, 0.045) : Qt.rgba(1, 1, 1, 0.58)

    title: "Progression Player"
    symbol: "play.circle"
    tint: accent

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 12

        RowLayout {
            Layout.fillWidth: true
            spacing: 6
            Repeater {
                model: 7
                ChordCell {
                    required property int index
                    objectName: "degree" + index
                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    chord: panel.controller.chords[index]
                    numeral: panel.controller.numerals[index]
                    copyText: panel.controller.plainText(chord)
                    accent: panel.accent
                    onClicked: panel.controller.addDegree(index)
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: MorvelaTheme.divider
            opacity: 0.4
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 10

            Text {
                objectName: "emptyLoop"
                Layout.fillWidth: true
                visible: panel.controller.loopChips.length === 0
                text: "Tap chords above to build a loop"
                font.pixelSize: 12
                font.weight: Font.Medium
                color: MorvelaTheme.secondaryText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }

            ListView {
                id: loop
                objectName: "loop"
                Layout.fillWidth: true
                implicitHeight: 40
                visible: count > 0
                orientation: ListView.Horizontal
                spacing: 6
                clip: true
                boundsBehavior: Flickable.StopAtBounds
                model: panel.controller.loopChips
                // The chord sounding now stays in view in a loop longer than the strip.
                Connections {
                    target: panel.controller
                    function onLoopChanged() {
                        if (panel.controller.currentStep >= 0)
                            loop.positionViewAtIndex(panel.controller.currentStep, ListView.Contain)
                    }
                }
                Accessible.role: Accessible.List
                Accessible.name: "Progression"

                delegate: AbstractButton {
                    id: chip
                    required property var modelData
                    required property int index
                    objectName: "loopChip" + index
                    readonly property bool current: modelData.current

                    width: Math.max(44, implicitContentWidth + 18)
                    height: loop.height
                    hoverEnabled: true
                    focusPolicy: Qt.StrongFocus
                    onClicked: panel.controller.removeStep(index)
                    Keys.onReturnPressed: panel.controller.removeStep(index)
                    Keys.onEnterPressed: panel.controller.removeStep(index)

                    ToolTip.visible: hovered
                    ToolTip.delay: 700
                    ToolTip.text: "Remove from progression"
                    Accessible.role: Accessible.Button
                    Accessible.name: modelData.accessibleName
                    Accessible.description: ToolTip.text
                    Accessible.selected: current
                    Accessible.onPressAction: panel.controller.removeStep(index)

                    background: Rectangle {
                        radius: 5
                        color: chip.current ? panel.accent : panel.plainFill
                        border.width: chip.visualFocus ? 2 : 0
                        border.color: chip.current ? MorvelaTheme.porcelain : panel.accent
                    }
                    contentItem: Column {
                        topPadding: 5
                        spacing: 1
                        Text {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: chip.modelData.chord
                            font.family: MorvelaTheme.monoFamily
                            font.pixelSize: 12
                            font.weight: Font.DemiBold
                            color: chip.current ? MorvelaTheme.porcelain : MorvelaTheme.primaryText
                        }
                        Text {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: chip.modelData.numeral
                            font.pixelSize: 10
                            font.weight: Font.Medium
                            color: chip.current ? Qt.alpha(MorvelaTheme.porcelain, 0.8) : MorvelaTheme.secondaryText
                        }
                    }
                }
            }

            Text {
                objectName: "tempoLabel"
                text: panel.controller.tempoLabel
                font.family: MorvelaTheme.monoFamily
                font.pixelSize: 11
                font.weight: Font.Medium
                color: MorvelaTheme.secondaryText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }

            MenuButton {
                objectName: "presets"
                text: "Presets"
                symbol: "sparkles"
                tint: panel.accent
                entries: panel.controller.presetNames
                onChosen: index => panel.controller.loadPreset(index)
            }

            Button {
                id: clearButton
                objectName: "clear"
                text: "Clear"
                enabled: panel.controller.loopChips.length > 0
                implicitHeight: 28
                onClicked: panel.controller.clear()
                Keys.onReturnPressed: panel.controller.clear()
                Accessible.onPressAction: panel.controller.clear()
                font.pixelSize: 12
                background: Rectangle {
                    radius: 6
                    color: clearButton.pressed ? Qt.alpha(panel.accent, 0.2) : MorvelaTheme.cardFill
                    border.width: clearButton.visualFocus ? 2 : 1
                    border.color: clearButton.visualFocus ? panel.accent : MorvelaTheme.hairline
                    opacity: clearButton.enabled ? 1 : 0.5
                }
                contentItem: Text {
                    text: clearButton.text
                    font: clearButton.font
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    color: MorvelaTheme.primaryText
                    opacity: clearButton.enabled ? 1 : 0.4
                }
            }

            AbstractButton {
                id: playButton
                objectName: "play"
                readonly property bool playing: panel.controller.playing
                text: playing ? "Stop" : "Play"
                enabled: panel.controller.loopChips.length > 0
                implicitWidth: 58
                implicitHeight: 28
                focusPolicy: Qt.StrongFocus
                onClicked: panel.controller.toggle()
                Keys.onReturnPressed: panel.controller.toggle()
                Keys.onEnterPressed: panel.controller.toggle()
                Accessible.role: Accessible.Button
                Accessible.name: text
                Accessible.onPressAction: panel.controller.toggle()

                background: Rectangle {
                    radius: 6
                    color: playButton.pressed ? Qt.darker(panel.accent, 1.15) : panel.accent
                    opacity: playButton.enabled ? 1 : 0.4
                    border.width: playButton.visualFocus ? 2 : 0
                    border.color: MorvelaTheme.primaryText
                }
                contentItem: Item {
                    Row {
                        anchors.centerIn: parent
                        spacing: 5
                        Icon {
                            anchors.verticalCenter: parent.verticalCenter
                            name: playButton.playing ? "stop.fill" : "play.fill"
                            color: MorvelaTheme.porcelain
                            size: 10
                        }
                        Text {
                            anchors.verticalCenter: parent.verticalCenter
                            text: playButton.text
                            font.pixelSize: 12
                            font.weight: Font.DemiBold
                            color: MorvelaTheme.porcelain
                        }
                    }
                }
            }
        }
    }
}
