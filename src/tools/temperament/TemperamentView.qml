import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Morvela

// The Temperament screen: the equal division of the octave above a reference, with its step
// size in the header, the reference and divisions controls, and every step from the reference
// to its octave in a table. A click on a step or its nearest note sounds it, a click on a figure
// copies it, and the scale plays upwards one step at a time. Leaving the screen commits the
// typed reference and stops the scale (the controller does both when it goes).
Flickable {
    id: view
    property CalculatorState calculator
    property color accent: MorvelaTheme.lake

    readonly property int padding: 28
    readonly property int stepColumnWidth: 70

    contentWidth: Math.max(width, 640)
    contentHeight: content.implicitHeight + 2 * padding
    boundsBehavior: Flickable.StopAtBounds
    clip: true

    // The Loader deletes a dropped screen later; leaving takes effect at once.
    Component.onDestruction: controller.leave()

    ScrollBar.vertical: ScrollBar {
        policy: view.contentHeight > view.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
    }

    TemperamentController {
        id: controller
        objectName: "temperamentController"
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
            eyebrow: "Temperament"
            title: "Octave Divisions"
            symbol: "dial.medium"
            tint: view.accent
            metrics: [
                { label: "Scale", value: controller.divisions + "-TET", tint: view.accent, copy: String(controller.divisions) },
                { label: "Step", value: controller.stepCents + " ¢", tint: MorvelaTheme.saffron,
                  copy: controller.stepCents },
                { label: "Step ratio", value: "×" + controller.stepRatio, tint: MorvelaTheme.teal,
                  copy: controller.stepRatio }
            ]
        }

        PremiumPanel {
            Layout.fillWidth: true
            title: "Tuning Lab"
            symbol: "slider.horizontal.3"
            tint: view.accent

            RowLayout {
                Layout.fillWidth: true
                spacing: 14

                PremiumInputField {
                    id: field
                    objectName: "referenceField"
                    Layout.alignment: Qt.AlignVCenter
                    title: "Reference · Hz"
                    text: view.calculator ? view.calculator.tetReferenceText : ""
                    onSubmitted: controller.commitReferenceText()
                    onFieldFocusedChanged: {
                        if (!fieldFocused)
                            controller.commitReferenceText()
                    }

                    Connections {
                        target: field.input
                        function onTextEdited() {
                            if (view.calculator)
                                view.calculator.tetReferenceText = field.text
                        }
                    }
                }

                Stepper {
                    objectName: "referenceStepper"
                    Layout.alignment: Qt.AlignVCenter
                    Layout.topMargin: 18
                    tint: view.accent
                    canStepUp: controller.canStepReferenceUp
                    canStepDown: controller.canStepReferenceDown
                    accessibleName: "Reference"
                    current: view.calculator ? view.calculator.tetReference : 0
                    lowest: controller.referenceMinimum
                    highest: controller.referenceMaximum
                    upName: "Higher"
                    downName: "Lower"
                    onStepped: delta => controller.stepReference(delta)
                }

                Rectangle {
                    Layout.alignment: Qt.AlignVCenter
                    Layout.topMargin: 18
                    implicitWidth: 1
                    implicitHeight: 40
                    color: MorvelaTheme.divider
                    opacity: 0.5
                }

                // Caption level with the field's title, N and its stepper level with its box.
                ColumnLayout {
                    Layout.alignment: Qt.AlignTop
                    spacing: 14

                    Caption {
                        text: "Divisions per octave"
                        font.pixelSize: 11
                    }
                    RowLayout {
                        spacing: 10
                        Text {
                            objectName: "divisionsValue"
                            Layout.minimumWidth: 30
                            text: controller.divisions
                            font.family: MorvelaTheme.monoFamily
                            font.pixelSize: 22
                            font.weight: Font.DemiBold
                            color: MorvelaTheme.primaryText
                            Accessible.role: Accessible.StaticText
                            Accessible.name: text + " divisions per octave"
                        }
                        Stepper {
                            objectName: "divisionsStepper"
                            tint: view.accent
                            canStepUp: controller.canStepDivisionsUp
                            canStepDown: controller.canStepDivisionsDown
                            accessibleName: "Divisions per octave"
                            current: controller.divisions
                            lowest: controller.divisionsMinimum
                            highest: controller.divisionsMaximum
                            upName: "More divisions"
                            downName: "Fewer divisions"
                            onStepped: delta => controller.stepDivisions(delta)
                        }
                    }
                }

                Item {
                    Layout.fillWidth: true
                }

                MenuButton {
                    objectName: "presetsButton"
                    Layout.alignment: Qt.AlignVCenter
                    Layout.topMargin: 18
                    text: "Presets"
                    symbol: "sparkles"
                    tint: view.accent
                    entries: controller.presetLabels
                    onChosen: index => controller.choosePreset(index)
                }

                AbstractButton {
                    id: playButton
                    objectName: "playButton"
                    readonly property bool playing: view.calculator ? view.calculator.tetPlaying : false

                    Layout.alignment: Qt.AlignVCenter
                    Layout.topMargin: 18
                    implicitWidth: implicitContentWidth + leftPadding + rightPadding
                    implicitHeight: 28
                    leftPadding: 12
                    rightPadding: 12
                    text: playing ? "Stop" : "Play scale"
                    hoverEnabled: true
                    onClicked: controller.togglePlayback()
                    Keys.onReturnPressed: controller.togglePlayback()
                    Keys.onEnterPressed: controller.togglePlayback()

                    ToolTip.visible: hovered
                    ToolTip.delay: 700
                    ToolTip.text: "Play all steps up to the octave"
                    Accessible.role: Accessible.Button
                    Accessible.name: text
                    Accessible.description: ToolTip.text
                    Accessible.onPressAction: controller.togglePlayback()

                    background: Rectangle {
                        radius: 6
                        color: playButton.pressed ? Qt.darker(view.accent, 1.2)
                                                  : playButton.hovered ? Qt.lighter(view.accent, 1.08) : view.accent
                        border.width: playButton.visualFocus ? 2 : 0
                        border.color: MorvelaTheme.primaryText
                    }
                    contentItem: Row {
                        spacing: 5
                        Icon {
                            anchors.verticalCenter: parent.verticalCenter
                            name: playButton.playing ? "stop.fill" : "play.fill"
                            color: "white"
                            size: 11
                        }
                        Text {
                            anchors.verticalCenter: parent.verticalCenter
                            text: playButton.text
                            font.pixelSize: 12
                            font.weight: Font.DemiBold
                            color: "white"
                        }
                    }
                }
            }
        }

        PremiumPanel {
            Layout.fillWidth: true
            title: "Scale Steps · click to audition"
            symbol: "tablecells"
            tint: MorvelaTheme.teal

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 0

                TableHeaderRow {
                    Layout.fillWidth: true
                    labels: ["Step", "Frequency", "Ratio", "Cents", "Nearest 12-TET"]
                    firstColumnWidth: view.stepColumnWidth
                }

                TableDivider {
                    strong: true
                }

                Repeater {
                    id: stepRows
                    model: controller.steps

                    Item {
                        id: line
                        objectName: "stepRow" + index
                        required property int index
                        required property string label
                        required property bool end
                        required property string frequency
                        required property string ratio
                        required property string ratioCopy
                        required property string cents
                        required property string nearestNote
                        required property string nearestCents
                        required property string nearestSpoken
                        required property color deviationTint
                        required property bool sounding
                        required property string spoken
                        required property string playHelp
                        required property bool inScale
                        required property bool last

                        // Rows past the octave wait, hidden, for a larger scale.
                        visible: inScale
                        Layout.fillWidth: true
                        implicitHeight: rowLoader.implicitHeight
                        Accessible.role: Accessible.Row
                        Accessible.name: spoken

                        // Rows past the octave are built in the background once the screen
                        // is up, or at once when a larger scale needs them first.
                        Loader {
                            id: rowLoader
                            width: parent.width
                            asynchronous: !line.inScale
                            sourceComponent: Component {
                                Item {
                                    height: implicitHeight
                                    implicitHeight: row.implicitHeight

                                    Rectangle {
                                        objectName: "highlight"
                                        width: parent.width
                                        height: row.height - (line.last ? 0 : 1)
                                        visible: line.sounding
                                        radius: 6
                                        color: Qt.alpha(view.accent, 0.18)
                                    }

                                    StripedRow {
                                        id: row
                                        readonly property real cellWidth: (cells.width - view.stepColumnWidth) / 4

                                        width: parent.width
                                        verticalPadding: 8
                                        striped: line.index % 2 === 1 && !line.sounding
                                        last: line.last

                                        PlayArea {
                                            objectName: "stepArea"
                                            width: view.stepColumnWidth
                                            help: line.playHelp
                                            tint: view.accent
                                            Accessible.name: line.label === "octave" ? "Octave" : "Step " + line.label
                                            onPlay: controller.playStep(line.index)

                                            Item {
                                                implicitHeight: Math.max(18, stepText.implicitHeight)
                                                Rectangle {
                                                    objectName: "stepBar"
                                                    anchors.verticalCenter: parent.verticalCenter
                                                    width: 4
                                                    height: 18
                                                    radius: 2
                                                    color: line.end ? view.accent : MorvelaTheme.secondaryText
                                                    opacity: line.end ? 1 : 0.35
                                                }
                                                Text {
                                                    id: stepText
                                                    objectName: "stepLabel"
                                                    x: 12
                                                    anchors.verticalCenter: parent.verticalCenter
                                                    text: line.label
                                                    font.family: MorvelaTheme.monoFamily
                                                    font.pixelSize: 13
                                                    font.weight: Font.Bold
                                                    color: MorvelaTheme.primaryText
                                                }
                                            }
                                        }
                                        StepValue {
                                            tint: view.accent
                                            objectName: "frequency"
                                            width: row.cellWidth
                                            text: line.frequency
                                            shown: line.frequency + " Hz"
                                            accessibleName: shown
                                            bold: true
                                        }
                                        StepValue {
                                            tint: view.accent
                                            objectName: "ratio"
                                            width: row.cellWidth
                                            text: line.ratioCopy
                                            shown: "×" + line.ratio
                                            accessibleName: "ratio " + line.ratio
                                        }
                                        StepValue {
                                            tint: view.accent
                                            objectName: "cents"
                                            width: row.cellWidth
                                            text: line.cents
                                            shown: line.cents + " ¢"
                                            accessibleName: line.cents + " cents"
                                        }
                                        PlayArea {
                                            objectName: "nearestArea"
                                            width: row.cellWidth
                                            help: line.playHelp
                                            tint: view.accent
                                            Accessible.name: line.nearestSpoken
                                            onPlay: controller.playStep(line.index)

                                            Item {
                                                implicitHeight: nearestRow.implicitHeight
                                                Row {
                                                    id: nearestRow
                                                    anchors.right: parent.right
                                                    spacing: 5
                                                    Text {
                                                        objectName: "nearestNote"
                                                        anchors.baseline: nearestCentsText.baseline
                                                        text: line.nearestNote
                                                        font.family: MorvelaTheme.monoFamily
                                                        font.pixelSize: 13
                                                        color: MorvelaTheme.primaryText
                                                    }
                                                    Text {
                                                        id: nearestCentsText
                                                        objectName: "nearestCents"
                                                        text: line.nearestCents
                                                        font.pixelSize: 12
                                                        font.weight: Font.DemiBold
                                                        color: line.deviationTint
                                                    }
                                                }
                                            }
                                        }
                                    }
                                }
                            }
                        }
                    }
                }
            }
        }

        FormulaStrip {
            Layout.fillWidth: true
            text: "f(k) = f₀ × 2^(k/N)   ·   step = 1200/N ¢   ·   equal intervals are equal ratios, not equal Hz   ·   click a row to hear it"
        }
    }

    // A part of a row that sounds its step: by click, Space, Return or a screen reader's press.
    component PlayArea: AbstractButton {
        id: area
        property string help
        property color tint
        default property alias face: area.contentItem
        signal play

        padding: 0
        focusPolicy: Qt.StrongFocus
        hoverEnabled: true
        onClicked: play()
        Keys.onReturnPressed: play()
        Keys.onEnterPressed: play()

        ToolTip.visible: hovered
        ToolTip.delay: 700
        ToolTip.text: help
        Accessible.role: Accessible.Button
        Accessible.description: help
        Accessible.onPressAction: play()

        background: Rectangle {
            radius: 6
            color: area.pressed ? Qt.alpha(area.tint, 0.2) : "transparent"
            border.width: area.visualFocus ? 2 : 0
            border.color: area.tint
        }
    }

    // A copyable figure of a row: `shown` with its unit, `text` (the bare number) copied.
    component StepValue: CopyableValue {
        id: cell
        property string shown
        property bool bold
        property color tint

        Text {
            objectName: "face"
            width: cell.availableWidth
            text: cell.copied ? "Copied" : cell.shown
            horizontalAlignment: Text.AlignRight
            font.family: MorvelaTheme.monoFamily
            font.pixelSize: 13
            font.weight: cell.bold ? Font.Bold : Font.Normal
            color: cell.copied ? cell.tint : MorvelaTheme.primaryText
            elide: Text.ElideLeft
        }
    }
}
