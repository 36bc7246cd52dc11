import QtQuick
import QtQuick.Controls
import QtTest
import Morvela
import MorvelaTest

Item {
    id: root
    width: 400
    height: 300

    Component {
        id: viewComponent
        SettingsView {}
    }
    Component {
        id: buttonComponent
        SettingsButton {}
    }

    TestCase {
        name: "SettingsView"
        when: windowShown

        function init() {
            TestServices.removePreferences()
        }

        function openView() {
            const view = createTemporaryObject(viewComponent, root)
            waitForRendering(view)
            return view
        }
        function explanation(view) {
            return findChild(view, "statisticsExplanation")
        }

        // The toggle shows the stored choice and follows it when a second settings view (or
        // anything else) writes it.
        function test_toggleShowsTheStoredChoice() {
            compare(TestServices.storedOptOut(), "absent")
            const view = openView()
            verify(view.shareToggle.checked)
            mouseClick(openView().shareToggle)
            verify(!view.shareToggle.checked)
            verify(!openView().shareToggle.checked)
            Preferences.shareStatistics = true
            verify(view.shareToggle.checked)
        }

        function test_switchingWritesTheInverse_data() {
            return [
                { tag: "click", flip: toggle => mouseClick(toggle) },
                { tag: "accessibility press", flip: toggle => toggle.Accessible.pressAction() },
                { tag: "accessibility toggle", flip: toggle => toggle.Accessible.toggleAction() }
            ]
        }
        function test_switchingWritesTheInverse(data) {
            const toggle = openView().shareToggle
            data.flip(toggle)
            verify(!toggle.checked)
            compare(TestServices.storedOptOut(), "true")
            data.flip(toggle)
            verify(toggle.checked)
            compare(TestServices.storedOptOut(), "false")
        }

        function test_explanationNamesTheCollectionHost() {
            const view = openView()
            compare(explanation(view).text,
                    "Counts app launches and which tools get used — nothing else. No cookies, no identifiers, "
                    + "no personal data. Collected by our own server (stats.morvela.app), never shared with "
                    + "third parties.")
            // Wrapped, never cut short.
            verify(explanation(view).lineCount > 1)
            verify(!explanation(view).truncated)
        }
    }

    TestCase {
        name: "SettingsButton"
        when: windowShown

        function openButton() {
            const button = createTemporaryObject(buttonComponent, root)
            waitForRendering(button)
            return button
        }

        // Each way of opening, and each closing key; the window is built when first opened
        // and the same one comes back after.
        function test_opensAndClosesTheSettingsWindow_data() {
            return [
                { tag: "click, Escape", open: button => mouseClick(button),
                  key: Qt.Key_Escape, modifiers: Qt.NoModifier },
                { tag: "Ctrl+, then Ctrl+W", open: () => keySequence("Ctrl+,"),
                  key: Qt.Key_W, modifiers: Qt.ControlModifier },
                { tag: "accessibility press, Escape", open: button => button.Accessible.pressAction(),
                  key: Qt.Key_Escape, modifiers: Qt.NoModifier }
            ]
        }
        function test_opensAndClosesTheSettingsWindow(data) {
            const button = openButton()
            compare(button.settingsWindow, null)
            data.open(button)
            const window = button.settingsWindow
            verify(window !== null)
            // Opened windows are activated: the keys go to the settings window.
            tryVerify(() => window.visible && window.active && window.activeFocusItem !== null)
            compare(window.title, "Settings")
            TestServices.keyClick(window, data.key, data.modifiers)
            verify(!window.visible)

            data.open(button)
            compare(button.settingsWindow, window)
            tryVerify(() => window.visible)
            window.close()
        }
    }
}
