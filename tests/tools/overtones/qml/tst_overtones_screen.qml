import QtQuick
import QtQuick.Controls.Basic
import QtTest
import Morvela
import MorvelaTest

// The series and the sweep rules are proven in tst_harmonicseries and
// tst_harmonicseriescontroller; this checks what the screen shows and that clicks, keys and
// the copy menu reach them.
Item {
    id: root
    width: 960
    height: 1000

    Component {
        id: stateComponent
        CalculatorState {}
    }

    // Hosts the screen the way the root window does: a Loader that drops it when another
    // tool is chosen.
    Component {
        id: hostComponent
        Loader {
            id: loader
            property CalculatorState calculatorState
            anchors.fill: parent
            sourceComponent: HarmonicSeriesView {
                calculator: loader.calculatorState
                accent: MorvelaTheme.copper
            }
        }
    }

    TestCase {
        name: "OvertonesScreen"
        when: windowShown

        property CalculatorState calculator
        property Loader host
        property Item view

        function init() {
            calculator = createTemporaryObject(stateComponent, root)
            host = createTemporaryObject(hostComponent, root, { calculatorState: calculator })
            view = host.item
            waitForRendering(view)
            TestServices.clearClipboard()
            TestServices.clearSounds()
        }

        function bar(n) {
            return findChild(view, "bar" + n)
        }

        function findItem(item, matches) {
            if (matches(item))
                return item
            for (let i = 0; i < item.children.length; ++i) {
                const found = findItem(item.children[i], matches)
                if (found)
                    return found
            }
            return null
        }

        function compareColor(actual, expected) {
            compare(String(actual), String(expected))
        }

        function test_header_data() {
            return [
                { tag: "fundamental", label: "f₀ · A1", value: "55.00 Hz", copied: "55.00" },
                { tag: "third harmonic", label: "3× · E3", value: "165.0 Hz", copied: "165.0" },
                { tag: "fifth harmonic", label: "5× · C#4", value: "275.0 Hz", copied: "275.0" }
            ]
        }
        function test_header(data) {
            const tile = findItem(view, item => item.metric !== undefined && item.metric.label === data.label)
            verify(tile !== null)
            compare(tile.metric.value, data.value)
            mouseClick(tile)
            compare(TestServices.clipboardText(), data.copied)
        }

        function test_defaultBars_data() {
            return [
                { tag: "7×", n: 7, note: "G4", drift: "-31¢", color: MorvelaTheme.lacquer },
                { tag: "11×", n: 11, note: "D#5", drift: "-49¢", color: MorvelaTheme.lacquer },
                { tag: "5×", n: 5, note: "C#4", drift: "-14¢", color: MorvelaTheme.saffron },
                { tag: "3×", n: 3, note: "E3", drift: "+2¢", color: MorvelaTheme.fern }
            ]
        }
        function test_defaultBars(data) {
            const b = bar(data.n)
            compare(findChild(b, "number").text, String(data.n))
            compare(findChild(b, "noteName").text, data.note)
            compare(findChild(b, "drift").text, data.drift)
            compareColor(findChild(b, "drift").color, data.color)
        }

        // Heights 200 / n on one baseline; 16 bars side by side in a 300-point strip.
        function test_barGeometry() {
            const strip = findChild(view, "spectrum")
            compare(strip.height, 300)
            const first = findChild(bar(1), "bar")
            const last = findChild(bar(16), "bar")
            compare(first.height, 200)
            compare(last.height, 12.5)
            compare(first.mapToItem(strip, 0, first.height).y, last.mapToItem(strip, 0, last.height).y)
            compare(bar(16).x + bar(16).width, strip.width)
            compare(bar(2).x - bar(1).x - bar(1).width, 5)
        }

        function test_barLooks() {
            const fill = findChild(bar(7), "bar")
            compareColor(fill.color, Qt.alpha(MorvelaTheme.copper, 0.82))
            compare(fill.border.width, 1)
            mouseClick(bar(7))
            compareColor(fill.color, Qt.alpha("white", MorvelaTheme.dark ? 0.045 : 0.58))
            compareColor(findChild(bar(7), "number").color, MorvelaTheme.secondaryText)
            calculator.overtoneStep = 1
            const current = findChild(bar(1), "bar")
            compareColor(current.color, MorvelaTheme.copper)
            compareColor(current.border.color, MorvelaTheme.saffron)
            compare(current.border.width, 2)
        }

        // A click toggles the bar and sounds it once, on or off.
        function test_clickTogglesAndSounds() {
            mouseClick(bar(7))
            verify(calculator.overtonesEnabled.indexOf(7) < 0)
            compare(TestServices.soundCount(), 1)
            compare(TestServices.soundAt(0).kind, "tone")
            compare(TestServices.soundAt(0).frequency, 385)
            mouseClick(bar(7))
            verify(calculator.overtonesEnabled.indexOf(7) >= 0)
            compare(TestServices.soundCount(), 2)
        }

        function test_barForScreenReaders() {
            const b = bar(7)
            compare(b.Accessible.name, "7×, G4, 31 cents flat, on")
            verify(b.checkable)
            verify(b.checked)
            compare(b.ToolTip.text, "7× = 385.0 Hz · G4 -31¢")
            mouseClick(b)
            compare(b.Accessible.name, "7×, G4, 31 cents flat, off")
            verify(!b.checked)
            b.forceActiveFocus()
            keyClick(Qt.Key_Return)
            verify(b.checked)
            calculator.overtonesEnabled = []
            verify(!b.checked)
        }

        function test_keyboard_data() {
            return [
                { tag: "Space", key: Qt.Key_Space },
                { tag: "Return", key: Qt.Key_Return }
            ]
        }
        // Space or Return toggle the focused bar; the arrows move along the bars.
        function test_keyboard(data) {
            bar(6).forceActiveFocus(Qt.TabFocusReason)
            keyClick(Qt.Key_Right)
            verify(bar(7).activeFocus)
            keyClick(data.key)
            verify(calculator.overtonesEnabled.indexOf(7) < 0)
            compare(TestServices.soundCount(), 1)
            verify(bar(7).activeFocus)
            keyClick(Qt.Key_Left)
            keyClick(Qt.Key_Left)
            verify(bar(5).activeFocus)
        }

        function test_copyMenu_data() {
            return [
                { tag: "right click, Hz", open: b => mouseClick(b, 5, 5, Qt.RightButton), entry: "copyFrequency",
                  text: "Copy 385.00 Hz", copied: "385.00" },
                { tag: "right click, note", open: b => mouseClick(b, 5, 5, Qt.RightButton), entry: "copyNoteName",
                  text: "Copy G4", copied: "G4" },
                { tag: "Menu key", open: b => { b.forceActiveFocus(); keyClick(Qt.Key_Menu) }, entry: "copyFrequency",
                  text: "Copy 385.00 Hz", copied: "385.00" },
                { tag: "Shift+F10", open: b => { b.forceActiveFocus(); keyClick(Qt.Key_F10, Qt.ShiftModifier) },
                  entry: "copyNoteName", text: "Copy G4", copied: "G4" }
            ]
        }
        function test_copyMenu(data) {
            const b = bar(7)
            const menu = findChild(b, "copyMenu")
            data.open(b)
            tryVerify(() => menu.opened)
            const item = menu.itemAt(data.entry === "copyFrequency" ? 0 : 1)
            compare(item.text, data.text)
            mouseClick(item)
            compare(TestServices.clipboardText(), data.copied)
            tryVerify(() => !menu.visible)
            verify(calculator.overtonesEnabled.indexOf(7) >= 0)
            compare(TestServices.soundCount(), 0)
        }

        // "4:5:6" leaves exactly 4, 5 and 6 on; Play sums them at 1/n, lowest first.
        function test_triadThenPlay() {
            mouseClick(findChild(view, "triadButton"))
            compare(calculator.overtonesEnabled.slice().sort((a, b) => a - b), [4, 5, 6])
            for (let n = 1; n <= 16; ++n)
                compare(bar(n).isEnabled, n >= 4 && n <= 6, "bar " + n)
            mouseClick(findChild(view, "playButton"))
            compare(TestServices.soundCount(), 1)
            const sound = TestServices.soundAt(0)
            compare(sound.kind, "partials")
            compare(sound.partials.map(p => p.frequency), [220, 275, 330])
            compare(sound.partials.map(p => p.amplitude), [0.25, 0.2, Math.fround(1 / 6)])
            mouseClick(findChild(view, "allButton"))
            compare(calculator.overtonesEnabled.length, 16)
        }

        function test_playDisabledWhenNothingIsOn() {
            const play = findChild(view, "playButton")
            verify(play.enabled)
            calculator.overtonesEnabled = []
            verify(!play.enabled)
            mouseClick(play)
            play.Accessible.pressAction()
            compare(TestServices.soundCount(), 0)
            mouseClick(bar(3))
            compare(TestServices.soundCount(), 1)
            verify(play.enabled)
        }

        function test_sweepButton() {
            const sweep = findChild(view, "sweepButton")
            compare(sweep.text, "Sweep")
            compare(sweep.symbol, "arrow.up.right")
            mouseClick(sweep)
            compare(sweep.text, "Stop")
            compare(sweep.symbol, "stop.fill")
            verify(bar(1).isCurrent)
            TestServices.advance(220)
            verify(bar(2).isCurrent)
            verify(!bar(1).isCurrent)
            mouseClick(sweep)
            compare(sweep.text, "Sweep")
            verify(!bar(2).isCurrent)
            compare(TestServices.soundCount(), 2)
        }

        // Another tool is chosen mid-sweep: the sweep ends and no bar stays lit.
        function test_switchingToolStopsTheSweep() {
            mouseClick(findChild(view, "sweepButton"))
            TestServices.advance(440)
            compare(calculator.overtoneStep, 3)
            host.active = false
            verify(!calculator.overtoneSweeping)
            compare(calculator.overtoneStep, undefined)
            const sounded = TestServices.soundCount()
            TestServices.advance(1000)
            compare(TestServices.soundCount(), sounded)
        }

        function test_pickers_data() {
            return [
                { tag: "note", menu: "noteMenu", entry: 0, shown: "C", label: "f₀ · C1", value: "32.70 Hz" },
                { tag: "octave", menu: "octaveMenu", entry: 3, shown: "Octave 3", label: "f₀ · A3", value: "220.00 Hz" }
            ]
        }
        function test_pickers(data) {
            const menuButton = findChild(view, data.menu)
            mouseClick(menuButton)
            const menu = findChild(menuButton, "menu")
            tryVerify(() => menu.opened)
            mouseClick(menu.itemAt(data.entry))
            compare(menuButton.text, data.shown)
            const tile = findItem(view, item => item.metric !== undefined && item.metric.label === data.label)
            verify(tile !== null, data.label)
            compare(tile.metric.value, data.value)
            compare(findChild(findChild(view, "fundamentalValue"), "face").text, data.value)
        }

        function test_fundamentalCopies() {
            const value = findChild(view, "fundamentalValue")
            mouseClick(value)
            compare(TestServices.clipboardText(), "55.00")
            compare(findChild(value, "face").text, "Copied")
            TestServices.advance(800)
            compare(findChild(value, "face").text, "55.00 Hz")
        }

        function test_buttonsHelp_data() {
            return [
                { tag: "All", name: "allButton", help: "Enable all 16 harmonics" },
                { tag: "4:5:6", name: "triadButton", help: "Just the major-triad harmonics" },
                { tag: "Sweep", name: "sweepButton", help: "Play harmonics 1× to 16× in order" },
                { tag: "Play", name: "playButton", help: "Play the sum of enabled harmonics" }
            ]
        }
        function test_buttonsHelp(data) {
            const button = findChild(view, data.name)
            compare(button.ToolTip.text, data.help)
            compare(button.Accessible.name, data.tag)
        }

        function test_texts_data() {
            return [
                { tag: "caption", text: "Bar height = 1/n (sawtooth amplitude) · cents show the drift from 12-TET: green = in tune, amber = noticeable, red = far off the grid · right-click a bar to copy its Hz" },
                { tag: "formula", text: "fₙ = n × f₀   ·   4:5:6 = major triad   ·   7× lands 31¢ flat of the grid — the “blue” seventh" },
                { tag: "spectrum title", text: "Spectrum · click a bar to toggle & audition" },
                { tag: "panel title", text: "Fundamental" }
            ]
        }
        function test_texts(data) {
            verify(findItem(view.contentItem, item => item.text === data.text) !== null)
        }
    }
}
