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

        // Up and down in one rounded box, as a desktop stepper; holding a half repeats.
        InsetSurface {
            Layout.alignment: Qt.AlignVCenter
            Layout.topMargin: 18
            implicitWidth: 20
            implicitHeight: 30
            Accessible.role: Accessible.SpinBox
            Accessible.name: "Tempo"

            Column {
                anchors.fill: parent
                StepperHalf {
                    objectName: "stepUp"
                    up: true
                    tint: controls.accent
                    enabled: controller.canStepUp
                    Accessible.name: "Faster"
                    Accessible.onPressAction: controller.step(1)
                    onClicked: controller.step(1)
                }
                Rectangle {
                    width: parent.width
                    height: 1
                    color: MorvelaTheme.hairline
                }
                StepperHalf {
                    objectName: "stepDown"
                    up: false
                    tint: controls.accent
                    enabled: controller.canStepDown
                    Accessible.name: "Slower"
                    Accessible.onPressAction: controller.step(-1)
                    onClicked: controller.step(-1)
                }
            }
        }

        ColumnLayout {
            Layout.alignment: Qt.AlignVCenter
            Layout.topMargin: 18
            Layout.fillWidth: true
            spacing: 5

            Slider {
                id: slider
                objectName: "bpmSlider"
                Layout.fillWidth: true
                from: controller.minimum
                to: controller.maximum
                // Arrow keys move one BPM; a drag is continuous and the controller rounds it.
                stepSize: 1
                value: controls.calculator ? controls.calculator.bpm : from
                onMoved: controller.writeSlider(value)
                Accessible.name: "Tempo"

                background: Item {
                    x: slider.leftPadding
                    y: slider.topPadding + (slider.availableHeight - height) / 2
                    implicitWidth: 200
                    implicitHeight: 4
                    width: slider.availableWidth
                    height: 4

                    Rectangle {
                        anchors.fill: parent
                        radius: 2
                        color: MorvelaTheme.divider
                    }
                    Rectangle {
                        width: slider.visualPosition * parent.width
                        height: parent.height
                        radius: 2
                        color: controls.accent
                    }
                }
                handle: Rectangle {
                    x: slider.leftPadding + slider.visualPosition * (slider.availableWidth - width)
                    y: slider.topPadding + (slider.availableHeight - height) / 2
                    implicitWidth: 18
                    implicitHeight: 18
                    radius: 9
                    color: slider.pressed ? Qt.darker("white", 1.06) : "white"
                    border.width: slider.visualFocus ? 2 : 1
                    border.color: slider.visualFocus ? controls.accent : Qt.rgba(0, 0, 0, 0.18)
                }
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

    component StepperHalf: AbstractButton {
        id: half
        property bool up
        property color tint

        width: parent.width
        height: (parent.height - 1) / 2
        autoRepeat: true
        focusPolicy: Qt.NoFocus
        Accessible.role: Accessible.Button

        background: Rectangle {
            radius: 6
            color: half.pressed ? Qt.alpha(half.tint, 0.28) : "transparent"
        }
        contentItem: Item {
            Icon {
                anchors.centerIn: parent
                name: half.up ? "chevron.up" : "chevron.down"
                size: 11
                color: MorvelaTheme.primaryText
                opacity: half.enabled ? 1 : 0.35
            }
        }
    }
}
