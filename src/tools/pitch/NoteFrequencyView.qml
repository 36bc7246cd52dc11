import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Morvela

// The Pitch screen: headline frequencies, the concert-pitch controls and the Frequency Matrix of
// all twelve notes in octaves 0 to 8, every figure copyable by a click.
Flickable {
    id: view
    property CalculatorState calculator
    property color accent: MorvelaTheme.teal

    readonly property int padding: 28
    readonly property int noteColumnWidth: 46

    contentWidth: Math.max(width, 640)
    contentHeight: content.implicitHeight + 2 * padding
    boundsBehavior: Flickable.StopAtBounds
    clip: true

    ScrollBar.vertical: ScrollBar {
        policy: view.contentHeight > view.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
    }

    NoteFrequencyController {
        id: pitch
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
            eyebrow: "Pitch"
            title: "Note Frequencies"
            symbol: "pianokeys"
            tint: view.accent
            metrics: [
                { label: "A4", value: pitch.a4, tint: view.accent },
                { label: "C4", value: pitch.c4, tint: MorvelaTheme.saffron },
                { label: "A3", value: pitch.a3, tint: MorvelaTheme.lacquer }
            ]
        }

        TuningControlsView {
            Layout.fillWidth: true
            calculator: view.calculator
            accent: view.accent
        }

        PremiumPanel {
            Layout.fillWidth: true
            title: "Frequency Matrix"
            symbol: "waveform"
            tint: MorvelaTheme.saffron

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 0

                TableHeaderRow {
                    objectName: "matrixHeader"
                    Layout.fillWidth: true
                    labels: ["Note", ...pitch.octaves]
                    firstColumnWidth: view.noteColumnWidth
                    fontSize: 13
                    textColor: MorvelaTheme.secondaryText
                    highlightedColumn: pitch.referenceColumn + 1
                    highlightColor: MorvelaTheme.saffron
                }

                TableDivider {
                    strong: true
                }

                Repeater {
                    id: matrixRows
                    model: pitch.matrix

                    StripedRow {
                        id: row
                        objectName: "matrixRow" + index
                        required property int index
                        required property string name
                        required property bool sharp
                        required property var notes
                        required property var frequencies
                        required property bool reference
                        readonly property real cellWidth: (cells.width - view.noteColumnWidth) / pitch.octaves.length

                        striped: index % 2 === 1
                        last: index === matrixRows.count - 1
                        verticalPadding: 8

                        Item {
                            width: view.noteColumnWidth
                            height: Math.max(18, noteText.implicitHeight)

                            Rectangle {
                                objectName: "noteBar"
                                anchors.verticalCenter: parent.verticalCenter
                                width: 4
                                height: 18
                                radius: 2
                                color: row.sharp ? MorvelaTheme.secondaryText : view.accent
                                opacity: row.sharp ? 0.35 : 0.85
                            }
                            Text {
                                id: noteText
                                objectName: "note"
                                x: 12
                                anchors.verticalCenter: parent.verticalCenter
                                text: row.name
                                font.family: MorvelaTheme.monoFamily
                                font.pixelSize: 13
                                font.weight: Font.Bold
                                color: row.sharp ? MorvelaTheme.secondaryText : MorvelaTheme.primaryText
                            }
                        }

                        Repeater {
                            model: pitch.octaves.length

                            FrequencyValue {
                                required property int index
                                objectName: "cell" + index
                                width: row.cellWidth
                                value: row.frequencies[index]
                                note: row.notes[index]
                                reference: row.reference && index === pitch.referenceColumn
                                tint: view.accent
                            }
                        }
                    }
                }
            }
        }

        FormulaStrip {
            Layout.fillWidth: true
            text: "f = A4 × 2^((n - 69) / 12)   ·   C4 = middle C   ·   A4 highlighted   ·   click a value to copy"
        }
    }

    // One copyable frequency of the matrix: "Copied" in the accent after a click; the reference
    // cell bold in the accent on a tinted ground.
    component FrequencyValue: CopyableValue {
        id: cell
        property string value
        property string note
        property bool reference
        property color tint

        text: value
        accessibleName: note + " " + value

        background: Item {
            Rectangle {
                objectName: "referenceGround"
                anchors.fill: parent
                anchors.leftMargin: 4
                anchors.rightMargin: -6
                anchors.topMargin: -3
                anchors.bottomMargin: -3
                radius: 6
                visible: cell.reference
                color: Qt.alpha(cell.tint, 0.16)
            }
            Rectangle {
                anchors.fill: parent
                anchors.leftMargin: 4
                anchors.rightMargin: -6
                anchors.topMargin: -3
                anchors.bottomMargin: -3
                radius: 6
                visible: cell.visualFocus
                color: "transparent"
                border.width: 2
                border.color: cell.tint
            }
        }

        Text {
            objectName: "face"
            width: cell.availableWidth
            text: cell.copied ? "Copied" : cell.value
            horizontalAlignment: Text.AlignRight
            font.family: MorvelaTheme.monoFamily
            font.pixelSize: 13
            font.weight: cell.reference ? Font.Bold : Font.Normal
            color: cell.reference || cell.copied ? cell.tint : MorvelaTheme.primaryText
            elide: Text.ElideLeft
        }
    }
}
