pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Morvela

// The Harmony screen: the key figures, the circle of fifths beside the selected key's details,
// the progression player and the explanatory strip.
Flickable {
    id: view
    property CalculatorState calculator
    property color accent: MorvelaTheme.lacquer
    readonly property alias controller: controller

    readonly property int padding: 28

    contentWidth: Math.max(width, 640)
    contentHeight: content.implicitHeight + 2 * padding
    boundsBehavior: Flickable.StopAtBounds
    clip: true

    ScrollBar.vertical: ScrollBar {
        policy: view.contentHeight > view.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
    }

    CircleOfFifthsController {
        id: controller
        objectName: "circleOfFifthsController"
        calculator: view.calculator
    }
    // Leaving the screen stops its loop at once, not when the view is finally deleted.
    Component.onDestruction: controller.stopPlayback()

    ColumnLayout {
        id: content
        x: view.padding
        y: view.padding
        width: view.contentWidth - 2 * view.padding
        spacing: 18

        ToolHeader {
            Layout.fillWidth: true
            eyebrow: "Harmony"
            title: "Circle of Fifths"
            symbol: "smallcircle.filled.circle"
            tint: view.accent
            metrics: [
                { label: "Key", value: controller.keyName, tint: view.accent,
                  copy: controller.plainText(controller.keyName) },
                { label: "Signature", value: controller.signature, tint: MorvelaTheme.saffron,
                  copy: controller.plainText(controller.signature) },
                { label: "Relative", value: controller.relative, tint: MorvelaTheme.teal,
                  copy: controller.plainText(controller.relative) }
            ]
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 18

            PremiumPanel {
                id: wheelPanel
                Layout.alignment: Qt.AlignTop
                Layout.fillWidth: true
                title: "Key Wheel"
                symbol: "dial.medium"
                tint: view.accent

                // 430 points where the pane has room; smaller rather than cut off in a narrow one.
                FifthsWheel {
                    id: wheel
                    objectName: "fifthsWheel"
                    readonly property real side: Math.min(430, wheelPanel.width - 32)
                    Layout.alignment: Qt.AlignHCenter
                    Layout.preferredWidth: side
                    Layout.preferredHeight: side
                    controller: controller
                    accent: view.accent
                }
            }

            KeyDetailPanel {
                objectName: "keyDetailPanel"
                Layout.alignment: Qt.AlignTop
                Layout.preferredWidth: 296
                controller: controller
                accent: view.accent
                onChordTapped: degree => controller.addDegree(degree)
            }
        }

        ProgressionPanel {
            objectName: "progressionPanel"
            Layout.fillWidth: true
            controller: controller
            accent: view.accent
        }

        FormulaStrip {
            Layout.fillWidth: true
            text: "Clockwise = +1♯ (dominant)   ·   Counter-clockwise = +1♭ (subdominant)   ·   Inner ring = relative minor"
        }
    }
}
