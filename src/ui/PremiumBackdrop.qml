import QtQuick
import Morvela

// The decoration behind the whole window: the window colour, a corner-to-corner gradient and a
// field of 45° hairlines 92 points apart, laid out again for every size.
//
// Drawn with scene-graph rectangles rather than painted into an image: the software scene graph
// then draws it straight into the window, so the first frame needs no window-sized image of its
// own (which cost 16 ms of start-up here, mostly in faulting in fresh pages), and a repaint of a
// small region touches only that region.
Item {
    id: backdrop

    // The hairlines of a w × h backdrop run from (x, h) to (x + h, 0) for x = −h, −h + 92, … < w.
    readonly property real spacing: 92
    readonly property int lineCount: width > 0 && height > 0 ? Math.ceil((width + height) / spacing) : 0
    readonly property color lineColor: MorvelaTheme.dark ? Qt.alpha(MorvelaTheme.saffron, 0.055)
                                                         : Qt.alpha(MorvelaTheme.spruce, 0.045)

    clip: true

    Rectangle {
        anchors.fill: parent
        color: MorvelaTheme.windowBackground
    }

    // From the top left corner to the bottom right one: a horizontal gradient on a square as wide
    // as the diagonal, turned onto it about the centre, so that its ends meet the two corners.
    Rectangle {
        readonly property real diagonal: Math.sqrt(backdrop.width * backdrop.width + backdrop.height * backdrop.height)
        x: (backdrop.width - diagonal) / 2
        y: (backdrop.height - diagonal) / 2
        width: diagonal
        height: diagonal
        rotation: Math.atan2(backdrop.height, backdrop.width) * 180 / Math.PI
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop {
                position: 0.0
                color: MorvelaTheme.dark ? MorvelaTheme.graphite : MorvelaTheme.windowBackground
            }
            GradientStop {
                position: 0.5
                color: MorvelaTheme.dark ? Qt.alpha(MorvelaTheme.spruce, 0.62) : Qt.alpha(MorvelaTheme.porcelain, 0.84)
            }
            GradientStop {
                position: 1.0
                color: MorvelaTheme.dark ? MorvelaTheme.windowBackground : Qt.alpha(MorvelaTheme.teal, 0.14)
            }
        }
    }

    Repeater {
        objectName: "hairlines"
        model: backdrop.lineCount

        // The line from (start, h) to (start + h, 0): h√2 long, centred half-way, turned −45°.
        Rectangle {
            required property int index
            readonly property real start: -backdrop.height + index * backdrop.spacing
            x: start + backdrop.height / 2 - width / 2
            y: backdrop.height / 2 - height / 2
            width: backdrop.height * Math.SQRT2
            height: 1
            rotation: -45
            antialiasing: true
            color: backdrop.lineColor
        }
    }
}
