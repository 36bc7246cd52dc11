import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Morvela

// The Tempo screen: headline values, the tempo controls and the Subdivision Matrix of note
// lengths, every figure copyable by a click.
Flickable {
    id: view
    property CalculatorState calculator
    property color accent: MorvelaTheme.saffron

    readonly property int padding: 28
    readonly property int columnCount: 5

    contentWidth: Math.max(width, 600)
    contentHeight: content.implicitHeight + 2 * padding
    boundsBehavior: Flickable.StopAtBounds
    clip: true

    ScrollBar.vertical: ScrollBar {
        policy: view.contentHeight > view.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
    }

    BPMController {
        id: tempo
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
            eyebrow: "Tempo"
            title: "BPM to Milliseconds"
            symbol: "metronome"
            tint: view.accent
            metrics: [
                { label: "Quarter", value: tempo.quarter + " ms", tint: view.accent, copy: tempo.quarter },
                { label: "1/8 dotted", value: tempo.dottedEighth + " ms", tint: MorvelaTheme.lacquer,
                  copy: tempo.dottedEighth },
                { label: "1/16 Hz", value: tempo.sixteenthRate, tint: MorvelaTheme.teal }
            ]
        }

        BPMControlsView {
            Layout.fillWidth: true
            calculator: view.calculator
            accent: view.accent
        }

        PremiumPanel {
            Layout.fillWidth: true
            title: "Subdivision Matrix"
            symbol: "tablecells"
            tint: view.accent

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 0

                TableHeaderRow {
                    Layout.fillWidth: true
                    labels: ["Note", "Straight", "Dotted", "Triplet", "Hz"]
                }

                TableDivider {
                    strong: true
                }

                Repeater {
                    id: matrixRows
                    model: tempo.matrix

                    StripedRow {
                        id: row
                        objectName: "matrixRow" + index
                        required property int index
                        required property string note
                        required property string straight
                        required property string dotted
                        required property string triplet
                        required property string rateHz
                        required property bool reference
                        readonly property real cellWidth: cells.width / view.columnCount

                        striped: index % 2 === 1
                        last: index === matrixRows.count - 1

                        Item {
                            width: row.cellWidth
                            height: Math.max(18, noteText.implicitHeight)

                            Rectangle {
                                objectName: "noteBar"
                                anchors.verticalCenter: parent.verticalCenter
                                width: 4
                                height: 18
                                radius: 2
                                color: row.reference ? view.accent : MorvelaTheme.secondaryText
                                opacity: row.reference ? 1 : 0.35
                            }
                            Text {
                                id: noteText
                                objectName: "note"
                                x: 12
                                anchors.verticalCenter: parent.verticalCenter
                                text: row.note
                                font.family: MorvelaTheme.monoFamily
                                font.pixelSize: 14
                                font.weight: Font.Bold
                                color: MorvelaTheme.primaryText
                                Accessible.role: Accessible.StaticText
                                Accessible.name: text
                            }
                        }
                        MatrixValue {
                            objectName: "straight"
                            width: row.cellWidth
                            value: row.straight
                            unit: " ms"
                            tint: view.accent
                        }
                        MatrixValue {
                            objectName: "dotted"
                            width: row.cellWidth
                            value: row.dotted
                            unit: " ms"
                            tint: view.accent
                        }
                        MatrixValue {
                            objectName: "triplet"
                            width: row.cellWidth
                            value: row.triplet
                            unit: " ms"
                            tint: view.accent
                        }
                        MatrixValue {
                            objectName: "rateHz"
                            width: row.cellWidth
                            value: row.rateHz
                            muted: true
                            tint: view.accent
                        }
                    }
                }

                FormulaStrip {
                    Layout.fillWidth: true
                    Layout.topMargin: 14
                    text: "Straight = 60000 / BPM × 4/N   ·   Dotted × 1.5   ·   Triplet × 2/3   ·   click a value to copy"
                }
            }
        }
    }

    // One copyable figure of the matrix: the number with its unit, "Copied" after a click.
    component MatrixValue: CopyableValue {
        id: cell
        property string value
        property string unit
        property bool muted
        property color tint

        text: value
        accessibleName: value + unit

        Text {
            objectName: "face"
            width: cell.availableWidth
            text: cell.copied ? "Copied" : cell.value + cell.unit
            horizontalAlignment: Text.AlignRight
            font.family: MorvelaTheme.monoFamily
            font.pixelSize: 14
            color: cell.copied ? cell.tint : cell.muted ? MorvelaTheme.secondaryText : MorvelaTheme.primaryText
            elide: Text.ElideLeft
        }
    }
}
