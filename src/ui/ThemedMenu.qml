import QtQuick
import QtQuick.Controls.Basic
import Morvela

// A pop-up menu in the application's light or dark colours (the Basic style's own palette is
// always light). Its entries (ThemedMenuItem) inherit the palette.
Menu {
    palette.window: MorvelaTheme.windowBackground
    palette.windowText: MorvelaTheme.primaryText
    palette.dark: MorvelaTheme.hairline
    palette.light: Qt.alpha(MorvelaTheme.saffron, 0.22)
    palette.midlight: Qt.alpha(MorvelaTheme.saffron, 0.36)
    palette.shadow: MorvelaTheme.dark ? "black" : MorvelaTheme.graphite
}
