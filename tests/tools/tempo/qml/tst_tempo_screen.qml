import QtQuick
import QtTest
import Morvela
import MorvelaTest

// The figures and the controls' rules are proven in tst_tempo; this checks that the screen shows
// the figures, copies them and routes every input to the controls. Also run under de_DE.UTF-8:
// every figure and accepted tempo keeps its decimal point.
Item {
    width: 960
    height: 1100

    ScreenTestCase {
        id: testCase
        name: "TempoScreen"
        screen: Component {
            BPMView {
                calculator: testCase.calculator
                accent: MorvelaTheme.saffron
            }
        }

        function init() {
            hostScreen()
            TestServices.driveTapClock(findChild(view, "bpmControlsController"))
        }

        function field() {
            return findChild(view, "bpmField")
        }

        function cell(row, column) {
            return findChild(findChild(view, "matrixRow" + row), column)
        }

        // The header shows units, copies bare numbers and follows the tempo.
        function test_header() {
            const tiles = () => findItems(view, item => item.metric !== undefined)
            const shown = () => tiles().map(tile => tile.metric.label + " " + tile.metric.value)
            compare(shown(), ["Quarter 500.00 ms", "1/8 dotted 375.00 ms", "1/16 Hz 8.00"])
            compare(tiles().map(tile => { mouseClick(tile); return TestServices.clipboardText() }),
                    ["500.00", "375.00", "8.00"])
            calculator.bpm = 90
            compare(shown(), ["Quarter 666.67 ms", "1/8 dotted 500.00 ms", "1/16 Hz 6.00"])
        }

        // Values show their units; the formula strip is shown below.
        function test_matrix() {
            const formula = "Straight = 60000 / BPM × 4/N   ·   Dotted × 1.5   ·   Triplet × 2/3   ·   click a value to copy"
            verify(findItem(view.contentItem, item => item.text === formula) !== null)
            const shown = []
            for (const column of ["straight", "dotted", "triplet", "rateHz"])
                shown.push(findChild(cell(0, column), "face").text)
            compare(shown, ["2000.00 ms", "3000.00 ms", "1333.33 ms", "0.50"])
            const notes = []
            for (let row = 0; row < 8; ++row) {
                // Shown, and read out as a label, so the row's values can be told apart.
                const note = findChild(findChild(view, "matrixRow" + row), "note")
                compare(TestServices.accessible(note).name, note.text)
                notes.push(note.text)
            }
            compare(notes, ["1/1", "1/2", "1/4", "1/8", "1/16", "1/32", "1/64", "1/128"])
        }

        // The copied feedback, as shown and as a screen reader hears it, outlives a tempo change:
        // the matrix is updated in place.
        function test_clickCopiesAValue() {
            const straight = cell(2, "straight")
            const face = findChild(straight, "face")
            compare(TestServices.accessible(straight).name, "500.00 ms")
            mouseClick(straight)
            compare(TestServices.clipboardText(), "500.00")
            compare([face.text, TestServices.accessible(straight).name], ["Copied", "Copied"])
            compareColor(face.color, MorvelaTheme.saffron)
            calculator.bpm = 90
            compare(cell(2, "straight"), straight)
            TestServices.advance(799)
            compare([face.text, TestServices.accessible(straight).name], ["Copied", "Copied"])
            TestServices.advance(1)
            compare([face.text, TestServices.accessible(straight).name], ["666.67 ms", "666.67 ms"])
            compareColor(face.color, MorvelaTheme.primaryText)
        }

        // Every way of leaving the field commits; a text that changes nothing writes nothing, so
        // the other tools are not disturbed. A tempo beyond the slider's range stays as typed when
        // the controls are shown again.
        function test_commit_data() {
            return [
                { tag: "Return, decimal comma", commit: () => keyClick(Qt.Key_Return), typed: "128,5", text: "128.50", writes: 1 },
                { tag: "Return, letters revert", commit: () => keyClick(Qt.Key_Return), typed: "fast", text: "120", writes: 0 },
                { tag: "Return, same tempo", commit: () => keyClick(Qt.Key_Return), typed: "0120.0", text: "120", writes: 0 },
                { tag: "Return, beyond the slider", commit: () => keyClick(Qt.Key_Return), typed: "999", text: "999", writes: 1 },
                { tag: "focus leaves the field", commit: () => keyClick(Qt.Key_Tab), typed: "96", text: "96", writes: 1 },
                { tag: "another tool is chosen", commit: () => host.active = false, typed: "137", text: "137", writes: 1 }
            ]
        }
        function test_commit(data) {
            let writes = 0
            calculator.bpmChanged.connect(() => ++writes)
            typeInto(field(), data.typed)
            compare(calculator.bpm, 120)
            data.commit()
            compare(calculator.bpmText, data.text)
            compare(writes, data.writes)
            host.active = true
            compare(findChild(host.item, "bpmField").text, data.text)
            compare(calculator.bpm, Number(data.text))
            compare(findChild(host.item, "stepUp").enabled, calculator.bpm < 400)
        }

        function test_tapping_data() {
            return [
                { tag: "Space, field focused", focusField: true, tap: () => keyClick(Qt.Key_Space) },
                { tag: "Tap button", focusField: false, tap: () => mouseClick(findChild(view, "tapButton")) }
            ]
        }
        function test_tapping(data) {
            calculator.bpm = 90
            if (data.focusField)
                field().input.forceActiveFocus()
            data.tap()
            compare(calculator.bpm, 90)
            TestServices.advance(500)
            data.tap()
            // One tap per press: a release counted as a tap would give 360.
            compare(calculator.bpm, 120)
            compare(field().text, "120")
            compare(field().fieldFocused, data.focusField)
        }

        function test_sliderDragStoresWholeTempos() {
            const slider = findChild(view, "bpmSlider")
            mouseDrag(slider.handle, slider.handle.width / 2, slider.handle.height / 2, slider.width / 3 + 0.37, 0)
            verify(calculator.bpm > 120)
            compare(calculator.bpm, Math.round(calculator.bpm))
            compare(calculator.bpmText, String(calculator.bpm))
        }

        function test_stepsOfOneBpm_data() {
            return [
                { tag: "slider arrow keys", up: () => keyClick(Qt.Key_Right), down: () => keyClick(Qt.Key_Left) },
                { tag: "stepper", up: () => mouseClick(findChild(view, "stepUp")),
                  down: () => mouseClick(findChild(view, "stepDown")) }
            ]
        }
        function test_stepsOfOneBpm(data) {
            findChild(view, "bpmSlider").forceActiveFocus()
            data.up()
            compare(calculator.bpm, 121)
            data.down()
            data.down()
            compare(calculator.bpm, 119)
            compare(field().text, "119")
            // The limits follow the tempo while the screen is shown.
            calculator.bpm = 400
            verify(!findChild(view, "stepUp").enabled)
            calculator.bpm = 20
            verify(findChild(view, "stepUp").enabled && !findChild(view, "stepDown").enabled)
        }
    }
}
