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
    SignalSpy {
        id: usage
        signalName: "usageRecorded"
    }

    TestCase {
        name: "SidebarKeys"
        when: windowShown

        readonly property var order: ["bpm", "rhythm", "space", "frequency", "temperament", "overtones", "harmony"]

        function open(storedId) {
            WindowState.setValue("selectedCalculatorTool", storedId)
            const view = createTemporaryObject(contentComponent, root)
            waitForRendering(view)
            usage.target = view.shell
            usage.clear()
            return view
        }
        function row(view, rawId) {
            return findChild(view, "toolRow-" + rawId)
        }
        function selectedRows(view) {
            return order.filter(id => row(view, id).isSelected)
        }
        function focusedRow(view) {
            const item = view.Window.activeFocusItem
            return item && item.objectName.startsWith("toolRow-") ? item.objectName.substring(8) : ""
        }
        function events() {
            const names = []
            for (let i = 0; i < usage.count; ++i)
                names.push(usage.signalArguments[i][0])
            return names
        }

        // Each key moves the focus and the choice together, and sends one usage event per move;
        // at either end the key does nothing (no wrap, no event).
        function test_keysMoveTheChoice_data() {
            return [
                { tag: "Down from Tempo", start: "bpm", keys: [Qt.Key_Down], shown: "rhythm", sent: ["tool-rhythm"] },
                { tag: "End from Tempo", start: "bpm", keys: [Qt.Key_End], shown: "harmony", sent: ["tool-harmony"] },
                { tag: "Home from Harmony", start: "harmony", keys: [Qt.Key_Home], shown: "bpm", sent: ["tool-bpm"] },
                { tag: "Up from Space", start: "space", keys: [Qt.Key_Up], shown: "rhythm", sent: ["tool-rhythm"] },
                { tag: "Down, Down, Up", start: "bpm", keys: [Qt.Key_Down, Qt.Key_Down, Qt.Key_Up], shown: "rhythm",
                  sent: ["tool-rhythm", "tool-space", "tool-rhythm"] },
                { tag: "Up on Tempo", start: "bpm", keys: [Qt.Key_Up], shown: "bpm", sent: [] },
                { tag: "Home on Tempo", start: "bpm", keys: [Qt.Key_Home], shown: "bpm", sent: [] },
                { tag: "Down on Harmony", start: "harmony", keys: [Qt.Key_Down], shown: "harmony", sent: [] },
                { tag: "End, End, Down", start: "overtones", keys: [Qt.Key_End, Qt.Key_End, Qt.Key_Down],
                  shown: "harmony", sent: ["tool-harmony"] }
            ]
        }
        function test_keysMoveTheChoice(data) {
            const view = open(data.start)
            row(view, data.start).forceActiveFocus()
            for (const key of data.keys)
                keyClick(key)
            compare(focusedRow(view), data.shown)
            compare(selectedRows(view), [data.shown])
            compare(view.shell.effectiveToolId, data.shown)
            compare(WindowState.value("selectedCalculatorTool"), data.shown)
            compare(events(), data.sent)
            if (data.sent.length > 0)
                verify(row(view, data.shown).visualFocus, "the row moved to shows its focus")
        }

        // One walk through the list: Down from Tempo, then End, then Home.
        function test_downEndHome() {
            const view = open("bpm")
            row(view, "bpm").forceActiveFocus()
            keyClick(Qt.Key_Down)
            compare(selectedRows(view), ["rhythm"])
            keyClick(Qt.Key_End)
            compare(selectedRows(view), ["harmony"])
            keyClick(Qt.Key_Home)
            compare(selectedRows(view), ["bpm"])
            compare(events(), ["tool-rhythm", "tool-harmony", "tool-bpm"])
        }

        // A click sends the same event as a key; so does choosing the selected row again.
        function test_clickSendsTheSameEvent() {
            const view = open("bpm")
            mouseClick(row(view, "space"))
            mouseClick(row(view, "space"))
            compare(events(), ["tool-space", "tool-space"])
        }

        // Assistive technology sees a tab list of page tabs, the chosen one selected.
        function test_rowsAreATabList() {
            const view = open("frequency")
            const list = row(view, "bpm").parent
            compare(TestServices.accessible(list).role, "pagetablist")
            for (const id of order) {
                compare(TestServices.accessible(row(view, id)).role, "pagetab")
                compare(row(view, id).Accessible.selected, id === "frequency", id)
            }
        }
    }
}
