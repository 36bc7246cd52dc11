import QtQuick
import QtQuick.Layouts
import Morvela

// A hairline between the rows of a striped table (stronger under the header).
Rectangle {
    property bool strong: false
    Layout.fillWidth: true
    implicitHeight: 1
    color: MorvelaTheme.divider
    opacity: strong ? 0.5 : 0.35
}
