import QtQuick
import Morvela

// The card surface: radius 8, card fill, 1-point hairline inside the edge.
Rectangle {
    radius: 8
    color: MorvelaTheme.cardFill
    border.width: 1
    border.color: MorvelaTheme.hairline
}
