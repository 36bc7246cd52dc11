import QtQuick
import QtQuick.Controls.Basic
import Morvela

// The gear at the foot of the sidebar. It and Ctrl+, open the settings window, which is built
// on first use and brought to the front when opened again.
AbstractButton {
    id: button
    readonly property Window settingsWindow: windowLoader.item as Window

    function openSettings() {
        windowLoader.active = true
        const window = settingsWindow
        window.show()
        window.raise()
        window.requestActivate()
    }

    objectName: "settingsButton"
    padding: 5
    hoverEnabled: true
    focusPolicy: Qt.StrongFocus

    ToolTip.visible: hovered
    ToolTip.delay: 700
    ToolTip.text: "Settings"

    Accessible.role: Accessible.Button
    Accessible.name: "Settings"
    Accessible.onPressAction: button.clicked()
    Keys.onReturnPressed: button.clicked()
    Keys.onEnterPressed: button.clicked()

    onClicked: openSettings()

    background: Rectangle {
        radius: 6
        color: button.hovered ? MorvelaTheme.cardFill : "transparent"
        border.width: button.visualFocus ? 2 : 0
        border.color: MorvelaTheme.saffron
    }

    contentItem: Icon {
        name: "gearshape"
        size: 15
        color: button.hovered || button.visualFocus ? MorvelaTheme.primaryText : MorvelaTheme.secondaryText
    }

    // From either window.
    Shortcut {
        sequence: "Ctrl+,"
        context: Qt.ApplicationShortcut
        onActivated: button.openSettings()
    }

    Loader {
        id: windowLoader
        active: false
        sourceComponent: Window {
            id: settingsWindow
            title: "Settings"
            width: view.implicitWidth
            height: view.implicitHeight
            minimumWidth: width
            maximumWidth: width
            minimumHeight: height
            maximumHeight: height
            color: MorvelaTheme.windowBackground

            SettingsView {
                id: view
                anchors.fill: parent
            }

            Shortcut {
                sequences: ["Escape", "Ctrl+W"]
                onActivated: settingsWindow.close()
            }
        }
    }
}
