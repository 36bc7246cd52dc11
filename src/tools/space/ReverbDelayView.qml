import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Morvela

// The Space screen: reverb pre-delay, decay and total for five sizes and for a custom size,
// and delay times, all on the beat of the shared tempo, every figure copyable by a click.
Flickable {
    id: view
    property CalculatorState calculator
    property color accent: MorvelaTheme.dusk

    readonly property int padding: 28
    readonly property int nameColumnWidth: 190

    contentWidth: Math.max(width, 640)
    contentHeight: content.implicitHeight + 2 * padding
    boundsBehavior: Flickable.StopAtBounds
    clip: true

    ScrollBar.vertical: ScrollBar {
        policy: view.contentHeight > view.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
    }

    ReverbDelayController {
        id: space
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
            eyebrow: "Space"
            title: "Reverb & Delay Times"
            symbol: "water.waves"
            tint: view.accent
            metrics: [
                { label: "Bar", value: space.bar + " ms", tint: view.accent, copy: space.bar },
                { label: "Beat", value: space.beat + " ms", tint: MorvelaTheme.saffron, copy: space.beat },
                { label: "Pre 1/64", value: space.preSixtyFourth + " ms", tint: MorvelaTheme.teal,
                  copy: space.preSixtyFourth }
            ]
        }

        BPMControlsView {
            Layout.fillWidth: true
            calculator: view.calculator
            accent: view.accent
        }

        PremiumPanel {
            Layout.fillWidth: true
            title: "Reverb Times"
            symbol: "water.waves"
            tint: view.accent

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 0

                TableHeaderRow {
                    Layout.fillWidth: true
                    labels: ["Space", "Pre-delay", "Decay", "Total"]
                    firstColumnWidth: view.nameColumnWidth
                    fontSize: 13
                    textColor: MorvelaTheme.secondaryText
                }

                TableDivider {
                    strong: true
                }

                Repeater {
                    id: presetRows
                    // By position: new times update the rows in place, so a value's copied
                    // feedback outlives a tempo change.
                    model: space.presetNames.length

                    StripedRow {
                        id: row
                        objectName: "presetRow" + index
                        required property int index
                        readonly property real cellWidth: (cells.width - view.nameColumnWidth) / 3

                        striped: index % 2 === 1
                        last: index === presetRows.count - 1
                        verticalPadding: 8

                        Column {
                            id: nameCell
                            width: view.nameColumnWidth
                            spacing: 2

                            Row {
                                spacing: 8
                                Rectangle {
                                    anchors.verticalCenter: parent.verticalCenter
                                    width: 4
                                    height: 18
                                    radius: 2
                                    color: view.accent
                                    opacity: 0.85
                                }
                                Text {
                                    objectName: "name"
                                    anchors.verticalCenter: parent.verticalCenter
                                    text: space.presetNames[row.index]
                                    font.pixelSize: 13
                                    font.weight: Font.Bold
                                    color: MorvelaTheme.primaryText
                                    Accessible.role: Accessible.StaticText
                                    Accessible.name: text
                                }
                            }
                            Caption {
                                objectName: "subtitle"
                                x: 12
                                width: nameCell.width - 12
                                text: space.presetSubtitles[row.index]
                                wrapMode: Text.Wrap
                            }
                        }
                        TimeCell {
                            objectName: "preDelay"
                            width: row.cellWidth
                            height: nameCell.height
                            value: space.presetPreDelays[row.index]
                            tint: view.accent
                        }
                        TimeCell {
                            objectName: "decay"
                            width: row.cellWidth
                            height: nameCell.height
                            value: space.presetDecays[row.index]
                            tint: view.accent
                            bold: true
                        }
                        TimeCell {
                            objectName: "total"
                            width: row.cellWidth
                            height: nameCell.height
                            value: space.presetTotals[row.index]
                            tint: view.accent
                        }
                    }
                }
            }
        }

        PremiumPanel {
            Layout.fillWidth: true
            title: "Custom Space"
            symbol: "slider.horizontal.below.rectangle"
            tint: view.accent

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 14

                RowLayout {
                    spacing: 18

                    PickerGroup {
                        Layout.alignment: Qt.AlignTop
                        caption: "TOTAL LENGTH"
                        unit: "bars"

                        SegmentedPicker {
                            objectName: "totalBarsPicker"
                            options: space.totalBarsOptions
                            currentValue: view.calculator ? view.calculator.customTotalBars : undefined
                            segmentWidth: 44
                            tint: view.accent
                            accessibleName: "Total length in bars"
                            onActivated: value => space.chooseTotalBars(value)
                        }
                    }
                    PickerGroup {
                        Layout.alignment: Qt.AlignTop
                        caption: "PRE-DELAY NOTE"
                        unit: "of a bar"

                        SegmentedPicker {
                            objectName: "preDivisionPicker"
                            options: space.preDivisionOptions
                            currentValue: space.preDivisionInUse
                            tint: view.accent
                            accessibleName: "Pre-delay note of a bar"
                            onActivated: value => space.choosePreDivision(value)
                        }
                    }
                }

                RowLayout {
                    Layout.fillWidth: true
                    spacing: 10

                    ResultTile {
                        objectName: "customPreDelay"
                        title: "Pre-delay"
                        tint: view.accent
                        value: space.customPreDelay
                    }
                    ResultTile {
                        objectName: "customDecay"
                        title: "Decay"
                        tint: view.accent
                        value: space.customDecay
                        bold: true
                    }
                    ResultTile {
                        objectName: "customTotal"
                        title: "Total"
                        tint: view.accent
                        value: space.customTotal
                    }
                }
            }
        }

        PremiumPanel {
            Layout.fillWidth: true
            title: "Delay Quick Picks"
            symbol: "arrow.triangle.2.circlepath"
            tint: MorvelaTheme.teal

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 10

                RowLayout {
                    Layout.fillWidth: true
                    spacing: 6

                    Repeater {
                        model: space.pickLabels.length

                        DelayChip {
                            required property int index
                            objectName: "pick" + index
                            label: space.pickLabels[index]
                            value: space.pickTimes[index]
                        }
                    }
                }

                Caption {
                    Layout.fillWidth: true
                    text: "Slapback: 60–120 ms, not tempo-synced · dotted echoes groove against the grid"
                    font.pixelSize: 11
                    wrapMode: Text.Wrap
                }
            }
        }

        FormulaStrip {
            Layout.fillWidth: true
            text: "bar = 240000 / BPM   ·   pre-delay = bar / N   ·   decay = total − pre-delay   ·   click a value to copy"
        }
    }

    // A time of the Reverb Times table: the number with its unit, "Copied" after a click.
    component TimeCell: CopyableValue {
        id: cell
        property string value
        property bool bold
        property color tint

        text: value
        accessibleName: value + " ms"

        Text {
            objectName: "face"
            width: cell.availableWidth
            height: cell.availableHeight
            text: cell.copied ? "Copied" : cell.value + " ms"
            horizontalAlignment: Text.AlignRight
            verticalAlignment: Text.AlignVCenter
            font.family: MorvelaTheme.monoFamily
            font.pixelSize: 13
            font.weight: cell.bold ? Font.Bold : Font.Normal
            color: cell.copied ? cell.tint
                               : cell.bold ? MorvelaTheme.primaryText : Qt.alpha(MorvelaTheme.primaryText, 0.85)
            elide: Text.ElideLeft
        }
    }

    // A caption, a control and its unit, one above the other.
    component PickerGroup: Column {
        id: group
        property string caption
        property string unit
        default property alias control: slot.data

        spacing: 7

        Caption {
            text: group.caption
            font.weight: Font.DemiBold
        }
        Item {
            id: slot
            implicitWidth: childrenRect.width
            implicitHeight: childrenRect.height
            width: implicitWidth
            height: implicitHeight
        }
        Caption {
            text: group.unit
        }
    }

    // A result of the custom reverb: title over time on the inset surface. While copied the
    // title reads "Copied" and the hairline takes the accent.
    component ResultTile: CopyableValue {
        id: tile
        property string title
        property string value
        property bool bold
        property color tint

        Layout.fillWidth: true
        Layout.preferredWidth: 1
        text: value
        accessibleName: title + " " + value + " ms"
        topPadding: 9
        bottomPadding: 9
        leftPadding: 12
        rightPadding: 12

        background: Rectangle {
            radius: 7
            color: MorvelaTheme.insetFill
            border.width: tile.visualFocus ? 2 : 1
            border.color: tile.copied ? Qt.alpha(tile.tint, 0.7) : tile.visualFocus ? tile.tint : MorvelaTheme.hairline
        }

        Column {
            spacing: 4

            Text {
                objectName: "title"
                width: tile.availableWidth
                text: tile.copied ? "Copied" : tile.title
                font.pixelSize: 11
                font.weight: Font.Medium
                color: tile.copied ? tile.tint : MorvelaTheme.secondaryText
            }
            Text {
                objectName: "face"
                width: tile.availableWidth
                text: tile.value + " ms"
                font.family: MorvelaTheme.monoFamily
                font.pixelSize: 17
                font.weight: tile.bold ? Font.Bold : Font.DemiBold
                color: MorvelaTheme.primaryText
                elide: Text.ElideRight
            }
        }
    }

    // A delay time: note value over time, centred, on the inset surface, in teal while copied.
    component DelayChip: CopyableValue {
        id: chip
        property string label
        property string value

        Layout.fillWidth: true
        Layout.preferredWidth: 1
        text: value
        accessibleName: label + " " + value + " ms"
        topPadding: 7
        bottomPadding: 7

        background: Rectangle {
            radius: 6
            color: MorvelaTheme.insetFill
            border.width: chip.visualFocus ? 2 : 1
            border.color: chip.copied ? Qt.alpha(MorvelaTheme.teal, 0.7) : chip.visualFocus ? MorvelaTheme.teal : MorvelaTheme.hairline
        }

        Column {
            spacing: 2

            Text {
                objectName: "label"
                width: chip.availableWidth
                text: chip.copied ? "Copied" : chip.label
                horizontalAlignment: Text.AlignHCenter
                font.pixelSize: 11
                font.weight: Font.DemiBold
                color: chip.copied ? MorvelaTheme.teal : MorvelaTheme.secondaryText
            }
            Text {
                objectName: "face"
                width: chip.availableWidth
                text: chip.value + " ms"
                horizontalAlignment: Text.AlignHCenter
                font.family: MorvelaTheme.monoFamily
                font.pixelSize: 13
                font.weight: Font.DemiBold
                color: MorvelaTheme.primaryText
                elide: Text.ElideRight
            }
        }
    }
}
