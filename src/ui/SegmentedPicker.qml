import QtQuick
import QtQuick.Controls.Basic
import Morvela

// A row of equal segments, one of them selected, as a desktop segmented control. `options` are
// { label, value }; choosing a segment emits activated(value) and the screen stores it (the
// picker shows whatever `currentValue` holds). Left and Right arrows move the choice.
FocusScope {
    id: picker
    property var options: []
    property var currentValue
    property color tint: MorvelaTheme.saffron
    property real segmentWidth: 52
    property string accessibleName
    signal activated(var value)

    readonly property int currentIndex: {
        for (let i = 0; i < options.length; ++i) {
            if (options[i].value === currentValue)
                return i
        }
        return -1
    }

    implicitWidth: frame.implicitWidth
    implicitHeight: frame.implicitHeight
    activeFocusOnTab: true
    Accessible.role: Accessible.Grouping
    Accessible.name: accessibleName

    function choose(index) {
        if (index >= 0 && index < options.length && index !== currentIndex)
            activated(options[index].value)
    }
    Keys.onLeftPressed: choose(Math.max(0, currentIndex - 1))
    Keys.onRightPressed: choose(Math.min(options.length - 1, currentIndex + 1))

    InsetSurface {
        id: frame
        implicitWidth: segments.implicitWidth + 4
        implicitHeight: 26
        border.width: picker.activeFocus ? 2 : 1
        border.color: picker.activeFocus ? picker.tint : MorvelaTheme.hairline

        Row {
            id: segments
            x: 2
            y: 2
            height: parent.height - 4

            Repeater {
                model: picker.options
                RadioButton {
                    id: segment
                    required property var modelData
                    required property int index
                    readonly property bool selected: index === picker.currentIndex

                    objectName: "segment" + index
                    width: picker.segmentWidth
                    height: segments.height
                    focusPolicy: Qt.NoFocus
                    onClicked: picker.choose(index)

                    // A radio button, so that screen readers hear which segment is chosen. A click
                    // only asks for the value; `checked` follows what the screen stores.
                    autoExclusive: false
                    checked: selected
                    onToggled: checked = Qt.binding(() => segment.selected)
                    padding: 0
                    indicator: null
                    Accessible.name: modelData.label
                    Accessible.onPressAction: picker.choose(index)

                    background: Rectangle {
                        radius: 5
                        color: segment.selected ? MorvelaTheme.cardFill : "transparent"
                        border.width: segment.selected ? 1 : 0
                        border.color: MorvelaTheme.hairline
                    }
                    contentItem: Text {
                        text: segment.modelData.label
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        font.pixelSize: 12
                        font.weight: segment.selected ? Font.DemiBold : Font.Normal
                        color: segment.selected ? MorvelaTheme.primaryText : MorvelaTheme.secondaryText
                    }
                }
            }
        }
    }
}
