import QtQuick
import Morvela

// The explanatory monospaced line at the foot of a screen. Decoration only: not interactive.
InsetSurface {
    id: strip
    property alias text: label.text

    implicitWidth: label.implicitWidth + 22
    implicitHeight: label.implicitHeight + 18
    Accessible.role: Accessible.StaticText
    Accessible.name: label.text

    Text {
        id: label
        x: 11
        y: 9
        width: strip.width - 22
        font.family: MorvelaTheme.monoFamily
        font.pixelSize: 11
        font.weight: Font.Medium
        color: MorvelaTheme.secondaryText
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignLeft
    }
}
