import QtQuick
import Morvela

// One headline number of a header: label over value on a card, tint bar at the left edge.
// A click copies `metric.copy` when given, else the shown value.
CopyableValue {
    id: tile
    // { label, value, tint, copy (optional) }
    property var metric: ({})
    readonly property color tint: metric.tint ?? MorvelaTheme.saffron

    text: metric.copy ?? metric.value ?? ""
    accessibleName: (metric.label ?? "") + " " + (metric.value ?? "")

    background: CardSurface {
        border.color: tile.copied ? Qt.alpha(tile.tint, 0.7) : MorvelaTheme.hairline
        border.width: tile.visualFocus ? 2 : 1

        Rectangle {
            x: 0
            y: 8
            width: 3
            height: parent.height - 16
            radius: 1.5
            color: tile.tint
        }
    }

    topPadding: 10
    bottomPadding: 10
    leftPadding: 12
    rightPadding: 12

    Column {
        spacing: 5

        Text {
            width: 126
            text: tile.metric.label ?? ""
            font.pixelSize: 11
            font.weight: Font.Medium
            color: MorvelaTheme.secondaryText
            elide: Text.ElideRight
        }
        Text {
            width: 126
            height: 20
            text: tile.copied ? "Copied" : (tile.metric.value ?? "")
            font.family: MorvelaTheme.monoFamily
            font.pixelSize: 16
            font.weight: Font.DemiBold
            color: tile.copied ? tile.tint : MorvelaTheme.primaryText
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 12
            elide: Text.ElideRight
            verticalAlignment: Text.AlignVCenter
        }
    }
}
