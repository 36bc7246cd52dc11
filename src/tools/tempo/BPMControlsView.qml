import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Morvela

// The tempo controls: typed tempo, stepper, slider and tap tempo. While they are shown the
// Space key taps, wherever the keyboard focus is in their window. Typed text is committed on
// Return, when the field loses focus and when the controls leave the screen.
PremiumPanel {
    id: controls
    property CalculatorState calculator
    property color accent: MorvelaTheme.saffron

    title: "Tempo Control"
    symbol: "slider.horizontal.3"
    tint: accent

    Component.onDestruction: controller.commitText()

    BPMControlsController {
        id: controller
        objectName: "bpmControlsController"
        calculator: controls.calculator
        window: controls.Window.window
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 14

        PremiumInputField {
            id: field
            objectName: "bpmField"
            Layout.alignment: Qt.AlignVCenter
            title: "BPM"
            text: controls.calculator ? controls.calculator.bpmText : ""
            onSubmitted: controller.commitText()
            onFieldFocusedChanged: {
                if (!fieldFocused)
                    controller.commitText()
            }

            Connections {
                target: field.input
                function onTextEdited() {
                    if (controls.calculator)
                        controls.calculator.bpmText = field.text
                }
            }
        }

        Stepper {
            objectName: "bpmStepper"
            Layout.alignment: Qt.AlignVCenter
            Layout.topMargin: 18
            tint: controls.accent
            canStepUp: controller.canStepUp
            canStepDown: controller.canStepDown
            accessibleName: "Tempo"
            current: controls.calculator ? controls.calculator.bpm : 0
            lowest: controller.minimum
            highest: controller.maximum
            upName: "Faster"
            downName: "Slower"
            onStepped: delta => controller.step(delta)
        }

        ColumnLayout {
            Layout.alignment: Qt.AlignVCenter
            Layout.topMargin: 18
            Layout.fillWidth: true
            spacing: 5

            AccentSlider {
                id: slider
                objectName: "bpmSlider"
                Layout.fillWidth: true
                from: controller.minimum
                to: controller.maximum
                tint: controls.accent
                value: controls.calculator ? controls.calculator.bpm : from
                onMoved: controller.writeSlider(value)
                Accessible.name: "Tempo"
            }

            RowLayout {
                Layout.fillWidth: true
                Caption {
                    text: "20 · Slow"
                }
                Item {
                    Layout.fillWidth: true
                }
                Caption {
                    text: "400 · Fast"
                }
            }
        }

        ColumnLayout {
            Layout.alignment: Qt.AlignVCenter
            Layout.topMargin: 18
            spacing: 3

            AbstractButton {
                id: tapButton
                objectName: "tapButton"
                implicitWidth: 54
                implicitHeight: 28
                hoverEnabled: true
                onClicked: controller.tap()

                ToolTip.visible: hovered
                ToolTip.delay: 700
                ToolTip.text: "Tap the beat — or press Space"
                Accessible.role: Accessible.Button
                Accessible.name: "Tap"
                Accessible.description: ToolTip.text
                Accessible.onPressAction: controller.tap()

                background: Rectangle {
                    radius: 6
                    color: tapButton.pressed ? Qt.alpha(controls.accent, 0.28) : MorvelaTheme.cardFill
                    border.width: tapButton.visualFocus ? 2 : 1
                    border.color: tapButton.visualFocus ? controls.accent : MorvelaTheme.hairline
                }
                contentItem: Item {
                    Row {
                        anchors.centerIn: parent
                        spacing: 4
                        Icon {
                            anchors.verticalCenter: parent.verticalCenter
                            name: "hand.tap"
                            color: MorvelaTheme.primaryText
                            size: 13
                        }
                        Text {
                            anchors.verticalCenter: parent.verticalCenter
                            text: "Tap"
                            font.pixelSize: 13
                            font.weight: Font.Medium
                            color: MorvelaTheme.primaryText
                        }
                    }
                }
            }
            Caption {
                Layout.alignment: Qt.AlignHCenter
                text: "Space"
                font.pixelSize: 9
                color: MorvelaTheme.tertiaryText
            }
        }
    }
}
