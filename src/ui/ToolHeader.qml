import QtQuick
import QtQuick.Layouts
import Morvela

// The top of every tool screen: eyebrow and title on the left, headline tiles on the right.
RowLayout {
    id: header
    property string eyebrow
    property string title
    property string symbol
    property color tint: MorvelaTheme.saffron
    // [{ label, value, tint, copy (optional) }], labels unique
    property var metrics: []

    spacing: 18

    ColumnLayout {
        Layout.alignment: Qt.AlignTop
        Layout.fillWidth: true
        Layout.minimumWidth: 120
        spacing: 10

        Row {
            spacing: 6
            Icon {
                anchors.verticalCenter: parent.verticalCenter
                name: header.symbol
                color: header.tint
                size: 13
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: header.eyebrow.toUpperCase()
                font.pixelSize: 11
                font.weight: Font.DemiBold
                font.letterSpacing: 0.6
                color: MorvelaTheme.secondaryText
            }
        }
        // The title on one line at full size where it fits; else on two at a smaller size, as
        // large as lets the better split of its words fit (beside three tiles at the default
        // window width, most titles take two lines).
        Text {
            id: titleText
            // Widths in the measuring font, read again when that font resolves (its height changes).
            readonly property real oneLine: titleMetrics.height > 0 ? titleMetrics.advanceWidth(header.title) : 0
            readonly property real twoLines: {
                if (titleMetrics.height <= 0)
                    return 0
                const words = header.title.split(" ")
                let narrowest = oneLine
                for (let i = 1; i < words.length; ++i)
                    narrowest = Math.min(narrowest, Math.max(titleMetrics.advanceWidth(words.slice(0, i).join(" ")),
                                                             titleMetrics.advanceWidth(words.slice(i).join(" "))))
                return narrowest
            }
            readonly property real usableWidth: 0.96 * width // room for hinting and rounding
            Layout.fillWidth: true
            text: header.title
            font.family: MorvelaTheme.roundedFamily
            font.pixelSize: oneLine <= usableWidth ? 34
                                                   : Math.max(20, Math.min(28, Math.floor(34 * usableWidth / twoLines)))
            font.weight: Font.DemiBold
            color: MorvelaTheme.primaryText
            wrapMode: Text.WordWrap
            maximumLineCount: 2
            elide: Text.ElideRight
            Accessible.role: Accessible.Heading
            Accessible.name: text

            FontMetrics {
                id: titleMetrics
                font.family: MorvelaTheme.roundedFamily
                font.pixelSize: 34
                font.weight: Font.DemiBold
            }
        }
    }

    Row {
        Layout.alignment: Qt.AlignVCenter
        Layout.leftMargin: 0
        spacing: 10
        visible: header.metrics.length > 0

        // By position, so that new values update the tiles in place and a tile's copied
        // feedback outlives a change of its value.
        Repeater {
            model: header.metrics.length
            MetricTile {
                required property int index
                metric: header.metrics[index]
            }
        }
    }
}
