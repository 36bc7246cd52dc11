import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Morvela

// The concert-pitch controls: typed A4, stepper, slider and reset. Typed text is committed on
// Return, when the field loses focus and when the controls leave the screen.
PremiumPanel {
    id: controls
    property CalculatorState calculator
    property color accent: MorvelaTheme.teal
    readonly property bool fieldFocused: field.fieldFocused

    title: "Concert Pitch"
    symbol: "tuningfork"
    tint: accent

    Component.onDestruction: controller.commitText()

    TuningControlsController {
        id: controller
        objectName: "tuningControlsController"
        calculator: controls.calculator
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 14

        PremiumInputField {
            id: field
            objectName: "a4Field"
            Layout.alignment: Qt.AlignVCenter
            title: "A4 tuning"
            suffix: "Hz"
            text: controls.calculator ? controls.calculator.a4Text : ""
            onSubmitted: controller.commitText()
            onFieldFocusedChanged: {
                if (!fieldFocused)
                    controller.commitText()
            }

            Connections {
                target: field.input
                function onTextEdited() {
                    if (controls.calculator)
                        controls.calculator.a4Text = field.text
                }
            }
        }

        Stepper {
            objectName: "a4Stepper"
            Layout.alignment: Qt.AlignVCenter
            Layout.topMargin: 18
            tint: controls.accent
            canStepUp: controller.canStepUp
            canStepDown: controller.canStepDown
            accessibleName: "A4 tuning"
            current: controls.calculator ? controls.calculator.a4 : 0
            lowest: controller.minimum
            highest: controller.maximum
            upName: "Raise A4"
            downName: "Lower A4"
            onStepped: delta => controller.step(delta)
        }

        ColumnLayout {
            Layout.alignment: Qt.AlignVCenter
            Layout.topMargin: 18
            Layout.fillWidth: true
            spacing: 5

            AccentSlider {
                objectName: "a4Slider"
                Layout.fillWidth: true
                from: controller.minimum
                to: controller.maximum
                tint: controls.accent
                value: controls.calculator ? controls.calculator.a4 : from
                onMoved: controller.writeSlider(value)
                Accessible.name: "A4 tuning"
            }

            RowLayout {
                Layout.fillWidth: true
                Caption {
                    text: "400 Hz"
                }
                Item {
                    Layout.fillWidth: true
                }
                Caption {
                    text: "480 Hz"
                }
            }
        }

        AbstractButton {
            id: resetButton
            objectName: "resetButton"
            Layout.alignment: Qt.AlignVCenter
            Layout.topMargin: 18
            implicitHeight: 28
            leftPadding: 10
            rightPadding: 10
            text: "Reset 440"
            hoverEnabled: true
            onClicked: controller.reset()
            Keys.onReturnPressed: controller.reset()
            Keys.onEnterPressed: controller.reset()

            ToolTip.visible: hovered
            ToolTip.delay: 700
            ToolTip.text: "Reset A4 to 440 Hz"
            Accessible.role: Accessible.Button
            Accessible.name: text
            Accessible.description: ToolTip.text
            Accessible.onPressAction: controller.reset()

            background: Rectangle {
                radius: 6
                color: resetButton.pressed ? Qt.alpha(controls.accent, 0.28) : MorvelaTheme.cardFill
                border.width: resetButton.visualFocus ? 2 : 1
                border.color: resetButton.visualFocus ? controls.accent : MorvelaTheme.hairline
            }
            contentItem: Row {
                spacing: 5
                Icon {
                    anchors.verticalCenter: parent.verticalCenter
                    name: "arrow.counterclockwise"
                    color: MorvelaTheme.primaryText
                    size: 12
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: resetButton.text
                    font.pixelSize: 13
                    font.weight: Font.Medium
                    color: MorvelaTheme.primaryText
                }
            }
        }
    }
}
