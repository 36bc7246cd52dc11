import QtQuick
import QtTest
import Morvela
import MorvelaTest

Item {
    id: root
    width: 400
    height: 300

    TestCase {
        name: "SettingsView"
        when: windowShown

        function init() {
            TestServices.removePreferences()
        }

        function openView() {
            const view = createTemporaryQmlObject("import Morvela; SettingsView {}", root)
            waitForRendering(view)
            return view
        }

        // Each way of switching writes the inverse of the toggle. The toggle shows the stored
        // choice and follows it when a second settings view (or anything else) writes it.
        function test_switchingWritesTheInverse_data() {
            return [
                { tag: "click", flip: toggle => mouseClick(toggle) },
                { tag: "accessibility press", flip: toggle => toggle.Accessible.pressAction() },
                { tag: "accessibility toggle", flip: toggle => toggle.Accessible.toggleAction() }
            ]
        }
        function test_switchingWritesTheInverse(data) {
            compare(TestServices.storedOptOut(), "absent")
            const toggle = openView().shareToggle
            verify(toggle.checked)
            data.flip(openView().shareToggle)
            verify(!toggle.checked)
            compare(TestServices.storedOptOut(), "true")
            verify(!openView().shareToggle.checked)
            data.flip(toggle)
            verify(toggle.checked)
            compare(TestServices.storedOptOut(), "false")
            Preferences.shareStatistics = false
            verify(!toggle.checked)
        }

        function test_explanationNamesTheCollectionHost() {
            const explanation = findChild(openView(), "statisticsExplanation")
            compare(explanation.text,
                    "Counts app launches and which tools get used — nothing else. No cookies, no identifiers, "
                    + "no personal data. Collected by our own server (stats.morvela.app), never shared with "
                    + "third parties.")
            // Wrapped, never cut short.
            verify(explanation.lineCount > 1)
            verify(!explanation.truncated)
        }
    }

    TestCase {
        name: "SettingsButton"
        when: windowShown

        function openButton() {
            const button = createTemporaryQmlObject("import Morvela; SettingsButton {}", root)
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
