import QtQuick
import QtQuick.Controls.Basic
import QtTest
import Morvela
import MorvelaTest

// The series and the sweep are proven in tst_harmonicseries and tst_harmonicseriescontroller;
// this checks what the screen shows and that clicks, keys and the copy menu reach them.
Item {
    width: 960
    height: 1000

    ScreenTestCase {
        id: testCase
        name: "OvertonesScreen"
        screen: Component {
            HarmonicSeriesView {
                calculator: testCase.calculator
            }
        }

        function bar(n) {
            return findChild(view, "bar" + n)
        }

        function test_header_data() {
            return [
                { tag: "f₀", label: "f₀ · A1", value: "55.00 Hz", copied: "55.00" },
                { tag: "3×", label: "3× · E3", value: "165.0 Hz", copied: "165.0" },
                { tag: "5×", label: "5× · C#4", value: "275.0 Hz", copied: "275.0" }
            ]
        }
        function test_header(data) {
            const tile = findItem(view, item => item.metric !== undefined && item.metric.label === data.label)
            compare(tile.metric.value, data.value)
            mouseClick(tile)
            compare(TestServices.clipboardText(), data.copied)
        }

        // At the narrowest window (a screen 671 wide) the actions go below the pitch rather than
        // past the panel's edge; from the default window (731) on they share its line.
        function test_fundamentalRowFits_data() {
            return [
                { tag: "narrowest window", width: 671, oneLine: false },
                { tag: "default window", width: 731, oneLine: true },
                { tag: "wide window", width: 1051, oneLine: true }
            ]
        }
        function test_fundamentalRowFits(data) {
            testCase.parent.width = data.width
            hostScreen()
            const row = findChild(view, "fundamentalRow")
            const rowEnd = row.mapToItem(view, row.width, 0).x
            verify(rowEnd <= view.width, rowEnd)
            const menuY = findChild(view, "noteMenu").mapToItem(row, 0, 0).y
            for (const name of ["allButton", "triadButton", "sweepButton", "playButton"]) {
                const button = findChild(view, name)
                const origin = button.mapToItem(row, 0, 0)
                verify(origin.x >= 0 && origin.x + button.width <= row.width, name + " ends at " + (origin.x + button.width))
                compare(origin.y <= menuY + 4, data.oneLine, name)
            }
            // The drawn bars, not only their cells, stand 5 points apart.
            const first = findChild(bar(1), "bar")
            const second = findChild(bar(2), "bar")
            fuzzyCompare(second.mapToItem(view, 0, 0).x - first.mapToItem(view, first.width, 0).x, 5, 0.01)
        }
        function cleanup() {
            testCase.parent.width = 960
        }

        function test_defaultBars_data() {
            return [
                { tag: "7×", n: 7, texts: ["7", "G4", "-31¢"], color: MorvelaTheme.lacquer, height: 200 / 7 },
                { tag: "11×", n: 11, texts: ["11", "D#5", "-49¢"], color: MorvelaTheme.lacquer, height: 200 / 11 },
                { tag: "5×", n: 5, texts: ["5", "C#4", "-14¢"], color: MorvelaTheme.saffron, height: 40 },
                { tag: "3×", n: 3, texts: ["3", "E3", "+2¢"], color: MorvelaTheme.fern, height: 200 / 3 }
            ]
        }
        function test_defaultBars(data) {
            const b = bar(data.n)
            compare(["number", "noteName", "drift"].map(name => findChild(b, name).text), data.texts)
            compare(String(findChild(b, "drift").color), String(data.color))
            compare(findChild(b, "bar").height, data.height)
        }

        function test_toggling_data() {
            return [
                { tag: "click", toggle: b => mouseClick(b) },
                { tag: "Space", toggle: b => { b.forceActiveFocus(); keyClick(Qt.Key_Space) } },
                { tag: "Return", toggle: b => { b.forceActiveFocus(); keyClick(Qt.Key_Return) } },
                { tag: "screen reader", toggle: b => b.Accessible.pressAction() }
            ]
        }
        // The bar goes off and sounds; a second time it comes back on and sounds again.
        function test_toggling(data) {
            const b = bar(7)
            compare(b.Accessible.name, "7×, G4, 31 cents flat, on")
            compare(b.ToolTip.text, "7× = 385.0 Hz · G4 -31¢")
            data.toggle(b)
            verify(calculator.overtonesEnabled.indexOf(7) < 0)
            verify(!b.checked)
            compare(b.Accessible.name, "7×, G4, 31 cents flat, off")
            data.toggle(b)
            verify(b.checked)
            compare(TestServices.soundCount(), 2)
            compare(TestServices.soundAt(1).frequency, 385)
        }

        function test_copyMenu_data() {
            const rightClick = b => mouseClick(b, 5, 5, Qt.RightButton)
            return [
                { tag: "right click, Hz", open: rightClick, entry: 0, text: "Copy 385.00 Hz", copied: "385.00" },
                { tag: "right click, note", open: rightClick, entry: 1, text: "Copy G4", copied: "G4" },
                { tag: "Menu key", open: b => { b.forceActiveFocus(); keyClick(Qt.Key_Menu) }, entry: 0,
                  text: "Copy 385.00 Hz", copied: "385.00" },
                { tag: "Shift+F10", open: b => { b.forceActiveFocus(); keyClick(Qt.Key_F10, Qt.ShiftModifier) },
                  entry: 1, text: "Copy G4", copied: "G4" }
            ]
        }
        function test_copyMenu(data) {
            const menu = findChild(bar(7), "copyMenu")
            data.open(bar(7))
            tryVerify(() => menu.opened)
            compare(menu.itemAt(data.entry).text, data.text)
            mouseClick(menu.itemAt(data.entry))
            compare(TestServices.clipboardText(), data.copied)
            verify(bar(7).checked)
            compare(TestServices.soundCount(), 0)
        }

        // "4:5:6" leaves exactly 4, 5 and 6 on; Play sums them at 1/n, lowest first.
        function test_triadThenPlay() {
            mouseClick(findChild(view, "triadButton"))
            for (let n = 1; n <= 16; ++n)
                compare(bar(n).checked, n >= 4 && n <= 6, "bar " + n)
            mouseClick(findChild(view, "playButton"))
            const sound = TestServices.soundAt(0)
            compare(sound.partials.map(p => [p.frequency, p.amplitude]), [[220, 0.25], [275, 0.2], [330, Math.fround(1 / 6)]])
            const play = findChild(view, "playButton")
            calculator.overtonesEnabled = []
            verify(!play.enabled)
            mouseClick(play)
            mouseClick(bar(3))
            compare(TestServices.soundCount(), 2)
            compare(TestServices.soundAt(1).kind, "tone")
        }

        // The sweep lights the sounding bar; choosing another tool ends it and clears the light.
        function test_sweep() {
            const sweep = findChild(view, "sweepButton")
            mouseClick(sweep)
            compare([sweep.text, sweep.symbol], ["Stop", "stop.fill"])
            TestServices.advance(220)
            verify(bar(2).isCurrent && !bar(1).isCurrent)
            compare(findChild(bar(2), "bar").border.width, 2)
            host.active = false
            verify(!calculator.overtoneSweeping)
            compare(calculator.overtoneStep, undefined)
            TestServices.advance(1000)
            compare(TestServices.soundCount(), 2)
            host.active = true
            compare(findChild(host.item, "sweepButton").text, "Sweep")
        }

        function test_texts_data() {
            return [
                { tag: "caption", text: "Bar height = 1/n (sawtooth amplitude) · cents show the drift from 12-TET: green = in tune, amber = noticeable, red = far off the grid · right-click a bar to copy its Hz" },
                { tag: "formula", text: "fₙ = n × f₀   ·   4:5:6 = major triad   ·   7× lands 31¢ flat of the grid — the “blue” seventh" },
                { tag: "spectrum", text: "Spectrum · click a bar to toggle & audition" }
            ]
        }
        function test_texts(data) {
            verify(findItem(view.contentItem, item => item.text === data.text) !== null)
        }
    }
}
