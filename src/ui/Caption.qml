import QtQuick
import Morvela

// A small caption that carries meaning (a range end, a key hint, a table note): secondary text
// that a screen reader reads as static text.
Text {
    font.pixelSize: 10
    font.weight: Font.Medium
    color: MorvelaTheme.secondaryText

    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
