import QtQuick
import QtQuick.Controls.Basic
import Morvela

// A click-to-copy value. Its one child is its face, which reads `copied` to show the feedback.
// The whole area is the click target; Space/Return copy when it has keyboard focus.
AbstractButton {
    id: control
    readonly property alias copied: feedback.copied
    // `text` (inherited) is what a click copies.
    // What a screen reader reads; defaults to what is copied. It reads "Copied" while the
    // feedback shows, so the confirmation is spoken.
    property string accessibleName: text
    readonly property string toolTipText: "Copy " + text
    default property alias face: control.contentItem

    padding: 0
    focusPolicy: Qt.StrongFocus
    hoverEnabled: true

    ToolTip.visible: hovered
    ToolTip.delay: 700
    ToolTip.text: toolTipText

    Accessible.role: Accessible.Button
    Accessible.name: control.copied ? "Copied" : control.accessibleName
    Accessible.description: ToolTip.text
    Accessible.onPressAction: feedback.copy()

    onClicked: feedback.copy()
    // Controls' buttons answer Space only, and Space taps the tempo on screens with tempo controls.
    Keys.onReturnPressed: feedback.copy()
    Keys.onEnterPressed: feedback.copy()

    CopyFeedback {
        id: feedback
        text: control.text
    }

    background: Rectangle {
        radius: 6
        color: "transparent"
        border.width: control.visualFocus ? 2 : 0
        border.color: MorvelaTheme.saffron
    }
}
