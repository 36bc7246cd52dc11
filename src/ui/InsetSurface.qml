import QtQuick
import Morvela

// The inset surface of input boxes and formula strips: radius 7, inset fill, hairline.
Rectangle {
    radius: 7
    color: MorvelaTheme.insetFill
    border.width: 1
    border.color: MorvelaTheme.hairline
}
