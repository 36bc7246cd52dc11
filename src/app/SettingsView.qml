import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Morvela

// The settings window's content: whether anonymous usage statistics may be sent.
Item {
    id: view
    readonly property alias shareToggle: shareToggle

    implicitWidth: 380
    implicitHeight: form.implicitHeight + 2 * 20

    ColumnLayout {
        id: form
        x: 20
        y: 20
        width: view.width - 2 * 20
        spacing: 10

        Switch {
            id: shareToggle
            objectName: "shareStatistics"
            Layout.fillWidth: true
            text: "Share anonymous usage statistics"
            checked: Preferences.shareStatistics
            onToggled: Preferences.shareStatistics = checked

            padding: 0
            spacing: 12
            focusPolicy: Qt.StrongFocus

            Accessible.name: text
            Accessible.checkable: true
            Accessible.checked: checked
            Accessible.onPressAction: flip()
            Accessible.onToggleAction: flip()

            function flip() {
                toggle()
                toggled()
            }

            indicator: Rectangle {
                x: shareToggle.width - width - shareToggle.rightPadding
                y: shareToggle.topPadding + (shareToggle.availableHeight - height) / 2
                implicitWidth: 38
                implicitHeight: 22
                radius: height / 2
                color: shareToggle.checked ? MorvelaTheme.teal
                                           : (Appearance.dark ? Qt.rgba(1, 1, 1, 0.16) : Qt.rgba(0, 0, 0, 0.14))
                border.width: shareToggle.visualFocus ? 2 : 0
                border.color: MorvelaTheme.saffron

                Rectangle {
                    width: parent.height - 4
                    height: width
                    radius: width / 2
                    x: shareToggle.checked ? parent.width - width - 2 : 2
                    y: 2
                    color: Appearance.dark ? "#ececec" : "#ffffff"
                    border.width: 1
                    border.color: Qt.rgba(0, 0, 0, 0.08)
                    Behavior on x {
                        NumberAnimation {
                            duration: 120
                            easing.type: Easing.OutCubic
                        }
                    }
                }
            }

            contentItem: Text {
                rightPadding: shareToggle.indicator.width + shareToggle.spacing
                text: shareToggle.text
                font.pixelSize: 13
                color: MorvelaTheme.primaryText
                wrapMode: Text.Wrap
                verticalAlignment: Text.AlignVCenter
            }
        }

        Text {
            objectName: "statisticsExplanation"
            Layout.fillWidth: true
            text: "Counts app launches and which tools get used — nothing else. No cookies, no identifiers, "
                  + "no personal data. Collected by our own server (" + Stats.host
                  + "), never shared with third parties."
            font.pixelSize: 12
            color: MorvelaTheme.secondaryText
            wrapMode: Text.Wrap
        }
    }
}
