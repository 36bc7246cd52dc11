import QtQuick
import QtTest
import Morvela
import MorvelaTest

Item {
    id: root
    width: 960
    height: 720

    Component {
        id: contentComponent
        ContentView {
            anchors.fill: parent
        }
    }

    TestCase {
        name: "ContentView"
        when: windowShown

        function open(storedId) {
            WindowState.setValue("selectedCalculatorTool", storedId)
            const view = createTemporaryObject(contentComponent, root)
            waitForRendering(view)
            return view
        }
        function row(view, rawId) {
            return findChild(view, "toolRow-" + rawId)
        }
        function selectedRows(view) {
            return ["bpm", "rhythm", "space", "frequency", "temperament", "overtones", "harmony"]
                .filter(id => row(view, id).isSelected)
        }

        function test_storedToolIsShownAndHighlighted_data() {
            return [
                { tag: "pitch", stored: "frequency", shown: "frequency" },
                { tag: "unknown id", stored: "tempo", shown: "bpm" }
            ]
        }
        function test_storedToolIsShownAndHighlighted(data) {
            const view = open(data.stored)
            compare(view.shell.effectiveToolId, data.shown)
            compare(selectedRows(view), [data.shown])
            compare(WindowState.value("selectedCalculatorTool"), data.stored)
        }

        function test_clickingRowsSelectsAndStores() {
            const view = open("bpm")
            mouseClick(row(view, "overtones"))
            compare(selectedRows(view), ["overtones"])
            compare(WindowState.value("selectedCalculatorTool"), "overtones")
            // Clicking the selected row again changes nothing on screen.
            mouseClick(row(view, "overtones"))
            compare(selectedRows(view), ["overtones"])
            row(view, "rhythm").Accessible.pressAction()
            compare(selectedRows(view), ["rhythm"])
        }

        // Ctrl+1 … Ctrl+7 choose like a click, wherever the focus is; the field takes no digit.
        function test_shortcutsChooseTools_data() {
            return [
                { tag: "Ctrl+3 from a row", start: "bpm", focus: "toolRow-bpm", key: Qt.Key_3, shown: "space" },
                { tag: "Ctrl+3 from the Tempo field", start: "bpm", focus: "bpmField", key: Qt.Key_3, shown: "space" },
                { tag: "Ctrl+7 from the Tempo field", start: "bpm", focus: "bpmField", key: Qt.Key_7, shown: "harmony" },
                { tag: "Ctrl+1 from a row", start: "overtones", focus: "toolRow-overtones", key: Qt.Key_1, shown: "bpm" }
            ]
        }
        function test_shortcutsChooseTools(data) {
            const view = open(data.start)
            const focused = findChild(view, data.focus)
            ;(focused.input ?? focused).forceActiveFocus()
            keyClick(data.key, Qt.ControlModifier)
            compare(selectedRows(view), [data.shown])
            compare(WindowState.value("selectedCalculatorTool"), data.shown)
            compare(view.calculatorState.bpmText, "120")
            const shortcut = "Ctrl+" + (data.key - Qt.Key_0)
            compare(row(view, data.shown).shortcutText, shortcut)
        }

        function test_summaryFollowsTheState() {
            const view = open("bpm")
            const summary = findChild(view, "summary")
            compare(summary.text, "A4 = 440 Hz\n120 BPM = 500 ms")
            view.calculatorState.bpm = 90
            view.calculatorState.a4 = 442.5
            compare(summary.text, "A4 = 442.5 Hz\n90 BPM = 666.7 ms")
        }

        function test_everyToolRowIsReachableWithTab() {
            const view = open("bpm")
            row(view, "bpm").forceActiveFocus()
            const reached = []
            for (let i = 0; i < 12; ++i) {
                const item = view.Window.activeFocusItem
                if (item && item.objectName.startsWith("toolRow-"))
                    reached.push(item.objectName.substring(8))
                keyClick(Qt.Key_Tab)
            }
            for (const id of ["bpm", "rhythm", "space", "frequency", "temperament", "overtones", "harmony"])
                verify(reached.indexOf(id) >= 0, id + " reachable")
            // Return on a focused row selects it.
            row(view, "space").forceActiveFocus()
            keyClick(Qt.Key_Return)
            compare(selectedRows(view), ["space"])
        }
    }
}
