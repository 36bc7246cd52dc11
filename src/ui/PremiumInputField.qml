import QtQuick
import Morvela

// A labelled number box. Typing only changes `text`; Return emits submitted() and the screen
// decides what the text means.
Column {
    id: field
    property string title
    property string suffix
    property alias text: input.text
    readonly property bool fieldFocused: input.activeFocus
    property alias input: input
    signal submitted

    spacing: 7

    Text {
        text: field.title
        font.pixelSize: 11
        font.weight: Font.Medium
        color: MorvelaTheme.secondaryText
    }

    InsetSurface {
        id: box
        implicitWidth: 132 + 22
        implicitHeight: row.implicitHeight + 16
        border.color: field.fieldFocused ? Qt.alpha(MorvelaTheme.saffron, 0.8) : MorvelaTheme.hairline

        // A click anywhere in the box, the unit and the margins too, edits the number.
        TapHandler {
            onTapped: input.forceActiveFocus(Qt.MouseFocusReason)
        }

        Row {
            id: row
            x: 11
            y: 8
            width: 132
            spacing: field.suffix.length > 0 ? 8 : 0

            TextInput {
                id: input
                width: row.width - (suffixText.visible ? suffixText.width + row.spacing : 0)
                font.family: MorvelaTheme.monoFamily
                font.pixelSize: 24
                font.weight: Font.DemiBold
                color: MorvelaTheme.primaryText
                selectionColor: Qt.alpha(MorvelaTheme.saffron, 0.45)
                selectedTextColor: MorvelaTheme.primaryText
                clip: true
                selectByMouse: true
                activeFocusOnTab: true
                // A press in the box is not a press outside the field: it does not end the editing.
                readonly property Item editingArea: box
                Accessible.role: Accessible.EditableText
                Accessible.name: field.title
                onAccepted: field.submitted()
            }
            Text {
                id: suffixText
                anchors.baseline: input.baseline
                visible: field.suffix.length > 0
                text: field.suffix
                font.pixelSize: 13
                font.weight: Font.DemiBold
                color: MorvelaTheme.secondaryText
            }
        }
    }
}
