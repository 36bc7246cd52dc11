pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Morvela

// The selected key in words: its name and signature, the scale notes (each copies), the seven
// diatonic chords (a click adds one to the progression and sounds it) and the related keys.
PremiumPanel {
    id: panel
    required property CircleOfFifthsController controller
    property color accent: MorvelaTheme.saffron
    signal chordTapped(int degree)

    readonly property color plainFill: MorvelaTheme.dark ? Qt.rgba(1, 1, 1, 0.045) : Qt.rgba(1, 1, 1, 0.58)
    readonly property color outlineColor: MorvelaTheme.dark ? Qt.rgba(1, 1, 1, 0.13) : Qt.rgba(0, 0, 0, 0.08)

    title: "Key Details"
    symbol: "music.note.list"
    tint: accent

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 14

        Text {
            objectName: "longName"
            Layout.fillWidth: true
            text: panel.controller.longName
            font.family: MorvelaTheme.roundedFamily
            font.pixelSize: 22
            font.weight: Font.DemiBold
            color: MorvelaTheme.primaryText
            elide: Text.ElideRight
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 8
            Text {
                objectName: "signature"
                text: panel.controller.signature
                font.family: MorvelaTheme.monoFamily
                font.pixelSize: 13
                font.weight: Font.Bold
                color: panel.accent
                Accessible.role: Accessible.StaticText
                Accessible.name: "Signature " + text
            }
            Text {
                objectName: "signatureNotes"
                Layout.fillWidth: true
                text: panel.controller.signatureNotes
                font.pixelSize: 12
                font.weight: Font.Medium
                color: MorvelaTheme.secondaryText
                elide: Text.ElideRight
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }

        Divider {}

        Section {
            title: "Scale"
            RowLayout {
                Layout.fillWidth: true
                spacing: 5
                Repeater {
                    // By position, so that a chip's copied feedback outlives a change of key.
                    model: 7
                    ScaleChip {
                        required property int index
                        objectName: "scaleChip" + index
                        Layout.fillWidth: true
                        Layout.preferredWidth: 1
                        note: panel.controller.scale[index]
                        copyText: panel.controller.plainText(note)
                        tonic: index === 0
                        accent: panel.accent
                        plainFill: panel.plainFill
                    }
                }
            }
        }

        Section {
            title: "Diatonic chords"
            GridLayout {
                Layout.fillWidth: true
                columns: 4
                columnSpacing: 5
                rowSpacing: 5
                Repeater {
                    model: 7
                    ChordCell {
                        required property int index
                        objectName: "chord" + index
                        Layout.fillWidth: true
                        Layout.preferredWidth: 1
                        Layout.minimumWidth: 10
                        chord: panel.controller.chords[index]
                        numeral: panel.controller.numerals[index]
                        copyText: panel.controller.plainText(chord)
                        accent: panel.accent
                        onClicked: panel.chordTapped(index)
                    }
                }
            }
        }

        Divider {}

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 6
            RelatedKey {
                label: "Relative"
                value: panel.controller.relative
            }
            RelatedKey {
                label: "Dominant"
                value: panel.controller.dominant
            }
            RelatedKey {
                label: "Subdominant"
                value: panel.controller.subdominant
            }
        }
    }

    component Divider: Rectangle {
        Layout.fillWidth: true
        implicitHeight: 1
        color: MorvelaTheme.divider
        opacity: 0.4
    }

    component Section: ColumnLayout {
        property alias title: heading.text
        Layout.fillWidth: true
        spacing: 5
        Text {
            id: heading
            font.pixelSize: 10
            font.weight: Font.DemiBold
            font.capitalization: Font.AllUppercase
            color: MorvelaTheme.secondaryText
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
    }

    component ScaleChip: CopyableValue {
        id: chip
        property string note
        property string copyText
        property bool tonic
        property color accent
        property color plainFill

        text: copyText
        accessibleName: note
        implicitHeight: 26

        background: Rectangle {
            radius: 5
            color: chip.tonic ? chip.accent : chip.plainFill
            border.width: chip.visualFocus ? 2 : 0
            border.color: chip.tonic ? MorvelaTheme.porcelain : chip.accent
        }
        Text {
            objectName: "face"
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            text: chip.copied ? "✓" : chip.note
            font.family: MorvelaTheme.monoFamily
            font.pixelSize: 12
            font.weight: Font.DemiBold
            color: chip.tonic ? MorvelaTheme.porcelain : chip.copied ? chip.accent : MorvelaTheme.primaryText
        }
    }

    component RelatedKey: RowLayout {
        id: related
        property string label
        property string value
        Layout.fillWidth: true
        Accessible.role: Accessible.StaticText
        Accessible.name: label + " " + value
        Text {
            Layout.fillWidth: true
            text: related.label
            font.pixelSize: 11
            font.weight: Font.Medium
            color: MorvelaTheme.secondaryText
        }
        Text {
            objectName: related.label.toLowerCase()
            text: related.value
            font.family: MorvelaTheme.monoFamily
            font.pixelSize: 13
            font.weight: Font.DemiBold
            color: MorvelaTheme.primaryText
        }
    }
}
