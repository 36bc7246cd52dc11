import QtQuick
import QtTest
import Morvela
import MorvelaTest

Item {
    id: root
    width: 960
    height: 720

    SignalSpy {
        id: usage
        signalName: "usageRecorded"
    }

    TestCase {
        name: "ContentView"
        when: windowShown

        readonly property var order: ["bpm", "rhythm", "space", "frequency", "temperament", "overtones", "harmony"]

        function open(storedId) {
            WindowState.setValue("selectedCalculatorTool", storedId)
            const view = createTemporaryQmlObject("import Morvela; ContentView { anchors.fill: parent }", root)
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
            return usage.signalArguments.map(args => args[0])
        }

        // A click, or choosing the selected row again, stores the tool and sends its usage event.
        // The tool's screen opens on the window's state; choosing it again keeps that screen.
        function test_clickingRowsSelectsAndStores() {
            const view = open("bpm")
            mouseClick(row(view, "overtones"))
            const screen = view.detail.item
            verify(String(screen).startsWith("HarmonicSeriesView"), String(screen))
            compare(screen.calculator, view.calculatorState)
            WindowState.setValue("selectedCalculatorTool", "tempo")
            mouseClick(row(view, "overtones"))
            compare(view.detail.item, screen)
            compare(selectedRows(view), ["overtones"])
            compare(WindowState.value("selectedCalculatorTool"), "overtones")
            row(view, "rhythm").Accessible.pressAction()
            compare(selectedRows(view), ["rhythm"])
            compare(events(), ["tool-overtones", "tool-overtones", "tool-rhythm"])
        }

        // Typed text is committed by a click anywhere else, also on what takes no focus (the
        // sidebar's summary, a heading), and a click in the field itself keeps editing.
        function test_clickingElsewhereCommits_data() {
            return [
                { tag: "tempo, on the summary", tool: "bpm", field: "bpmField", typed: "137",
                  target: "summary", key: "bpm", value: 137 },
                { tag: "pitch, on the heading", tool: "frequency", field: "a4Field", typed: "432",
                  target: "heading", key: "a4", value: 432 },
                { tag: "temperament, right-click on the heading", tool: "temperament", field: "referenceField",
                  typed: "300", target: "heading", button: Qt.RightButton, key: "tetReference", value: 300 },
                { tag: "in the field itself", tool: "frequency", field: "a4Field", typed: "432",
                  target: "field", key: "a4", value: 440 },
                { tag: "on the field's unit", tool: "frequency", field: "a4Field", typed: "432",
                  target: "unit", key: "a4", value: 440 }
            ]
        }
        function test_clickingElsewhereCommits(data) {
            const view = open(data.tool)
            const field = findChild(view.detail.item, data.field)
            field.input.forceActiveFocus()
            field.input.selectAll()
            for (const digit of data.typed)
                keyClick(digit)
            const target = data.target === "summary" ? findChild(view, "summary")
                         : data.target === "field" ? field.input
                         : data.target === "unit" ? TestServices.items(field).find(item => item.text === "Hz")
                         : TestServices.items(view.detail.item).find(item => TestServices.accessible(item).role === "heading")
            mouseClick(target, 4, 4, data.button ?? Qt.LeftButton)
            tryCompare(view.calculatorState, data.key, data.value)
            wait(0)
            compare(field.input.activeFocus, data.target === "field" || data.target === "unit")
        }

        // Each key moves the focus and the choice together, and sends one usage event per move;
        // at either end the key does nothing (no wrap, no event). Ctrl+1 … Ctrl+7 choose like a
        // click, wherever the focus is; the field takes no digit.
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
                  shown: "harmony", sent: ["tool-harmony"] },
                { tag: "Return on a focused row", start: "bpm", focus: "toolRow-space", keys: [Qt.Key_Return],
                  shown: "space", sent: ["tool-space"] },
                { tag: "Ctrl+3 from a row", start: "bpm", ctrl: true, keys: [Qt.Key_3], shown: "space", sent: ["tool-space"] },
                { tag: "Ctrl+3 from the Tempo field", start: "bpm", focus: "bpmField", ctrl: true, keys: [Qt.Key_3],
                  shown: "space", sent: ["tool-space"] },
                { tag: "Ctrl+7 from the Tempo field", start: "bpm", focus: "bpmField", ctrl: true, keys: [Qt.Key_7],
                  shown: "harmony", sent: ["tool-harmony"] },
                { tag: "Ctrl+1 from a row", start: "overtones", ctrl: true, keys: [Qt.Key_1], shown: "bpm", sent: ["tool-bpm"] }
            ]
        }
        function test_keysMoveTheChoice(data) {
            const view = open(data.start)
            const focused = findChild(view, data.focus ?? "toolRow-" + data.start)
            ;(focused.input ?? focused).forceActiveFocus()
            for (const key of data.keys)
                keyClick(key, data.ctrl ? Qt.ControlModifier : Qt.NoModifier)
            compare(selectedRows(view), [data.shown])
            compare(view.shell.effectiveToolId, data.shown)
            compare(WindowState.value("selectedCalculatorTool"), data.shown)
            compare(events(), data.sent)
            if (data.ctrl) {
                compare(view.calculatorState.bpmText, "120")
                compare(row(view, data.shown).shortcutText, "Ctrl+" + (data.keys[0] - Qt.Key_0))
                // The focus moves with the choice within the tool list, and stays in a field.
                compare(focusedRow(view), data.focus ? "" : data.shown)
            } else {
                compare(focusedRow(view), data.shown)
                if (data.sent.length > 0 && !data.focus)
                    verify(row(view, data.shown).visualFocus, "the row moved to shows its focus")
            }
        }

        // The donation link reads as a link, and a screen reader's press, a click and Return open
        // the donation page.
        function test_donationLinkOpensThePage() {
            const view = open("bpm")
            const link = TestServices.items(view).find(item => TestServices.accessible(item).role === "link")
            compare(TestServices.accessible(link).name, "Buy me a coffee")
            const before = TestServices.openedUrls().length
            verify(TestServices.doAccessibleAction(link, "Press"))
            mouseClick(link)
            link.forceActiveFocus()
            keyClick(Qt.Key_Return)
            compare(TestServices.openedUrls().slice(before), Array(3).fill("https://ko-fi.com/morvela"))
        }

        // Written the same in every locale (the suite runs under de_DE.UTF-8 too), a tempo
        // below 1 taken as 1.
        function test_summaryFollowsTheState_data() {
            return [
                { tag: "fractional A4", a4: 442.5, bpm: 120, text: "A4 = 442.5 Hz\n120 BPM = 500 ms" },
                { tag: "128 BPM", a4: 440, bpm: 128, text: "A4 = 440 Hz\n128 BPM = 468.8 ms" },
                { tag: "90 BPM", a4: 440, bpm: 90, text: "A4 = 440 Hz\n90 BPM = 666.7 ms" },
                { tag: "fractional tempo", a4: 440, bpm: 128.5, text: "A4 = 440 Hz\n128.5 BPM = 466.9 ms" },
                { tag: "tempo below 1", a4: 440, bpm: 0.5, text: "A4 = 440 Hz\n0.5 BPM = 60000 ms" }
            ]
        }
        function test_summaryFollowsTheState(data) {
            const view = open("bpm")
            const summary = findChild(view, "summary")
            compare(summary.text, "A4 = 440 Hz\n120 BPM = 500 ms")
            view.calculatorState.bpm = data.bpm
            view.calculatorState.a4 = data.a4
            compare(summary.text, data.text)
        }

        function test_everyToolRowIsReachableWithTab() {
            const view = open("bpm")
            row(view, "bpm").forceActiveFocus()
            const reached = []
            for (let i = 0; i < 12; ++i) {
                reached.push(focusedRow(view))
                keyClick(Qt.Key_Tab)
            }
            for (const id of order)
                verify(reached.indexOf(id) >= 0, id + " reachable")
        }

        // The stored tool is shown and chosen, and opening does not store over it. Assistive
        // technology sees a tab list of page tabs, the chosen one selected.
        function test_storedToolIsTheSelectedTab_data() {
            return [
                { tag: "pitch", stored: "frequency", shown: "frequency" },
                { tag: "unknown id", stored: "tempo", shown: "bpm" },
                { tag: "title is no id", stored: "Pitch", shown: "bpm" },
                { tag: "case matters", stored: "HARMONY", shown: "bpm" },
                { tag: "empty", stored: "", shown: "bpm" },
                { tag: "trailing space", stored: "harmony ", shown: "bpm" }
            ]
        }
        function test_storedToolIsTheSelectedTab(data) {
            const view = open(data.stored)
            compare(view.shell.effectiveToolId, data.shown)
            compare(selectedRows(view), [data.shown])
            compare(WindowState.value("selectedCalculatorTool"), data.stored)
            compare(TestServices.accessible(row(view, "bpm").parent).role, "pagetablist")
            for (const id of order) {
                compare(TestServices.accessible(row(view, id)).role, "pagetab")
                compare(row(view, id).Accessible.selected, id === data.shown, id)
            }
        }
    }
}
