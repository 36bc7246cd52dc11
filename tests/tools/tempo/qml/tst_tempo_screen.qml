import QtQuick
import QtTest
import Morvela
import MorvelaTest
import TempoTest

// The figures are proven in tst_tempo and the controls' own rules in tst_bpmcontrolscontroller;
// this checks that the screen shows the figures, copies them and routes every input to the
// controls. Also run under de_DE.UTF-8: every figure and accepted tempo keeps its decimal point.
Item {
    id: root
    width: 960
    height: 1100

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
            sourceComponent: BPMView {
                calculator: loader.calculatorState
                accent: MorvelaTheme.saffron
            }
        }
    }

    TestCase {
        name: "TempoScreen"
        when: windowShown

        property CalculatorState calculator
        property Loader host
        property Item view

        function init() {
            calculator = createTemporaryObject(stateComponent, root)
            host = createTemporaryObject(hostComponent, root, { calculatorState: calculator })
            view = host.item
            waitForRendering(view)
            TapClock.drive(findChild(view, "bpmControlsController"))
            TestServices.clearClipboard()
        }

        function field() {
            return findChild(view, "bpmField")
        }

        function cell(row, column) {
            return findChild(findChild(view, "matrixRow" + row), column)
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

        // Colours as drawn, 8 bits a channel (the theme's own carry more precision).
        function compareColor(actual, expected) {
            compare(String(actual), String(expected))
        }

        function typeIntoField(text) {
            field().input.forceActiveFocus()
            field().input.selectAll()
            for (const character of text)
                keyClick(character)
        }

        function test_header_data() {
            return [
                { tag: "quarter", label: "Quarter", value: "500.00 ms", copied: "500.00", at90: "666.67 ms" },
                { tag: "dotted eighth", label: "1/8 dotted", value: "375.00 ms", copied: "375.00", at90: "500.00 ms" },
                { tag: "sixteenth rate", label: "1/16 Hz", value: "8.00", copied: "8.00", at90: "6.00" }
            ]
        }
        // A header value shows its unit, copies the bare number and follows the tempo.
        function test_header(data) {
            const tile = () => findItem(view, item => item.metric !== undefined && item.metric.label === data.label)
            compare(tile().metric.value, data.value)
            mouseClick(tile())
            compare(TestServices.clipboardText(), data.copied)
            calculator.bpm = 90
            compare(tile().metric.value, data.at90)
        }

        function test_matrixRowShowsUnits() {
            const shown = [findChild(findChild(view, "matrixRow0"), "note").text]
            for (const column of ["straight", "dotted", "triplet", "rateHz"])
                shown.push(findChild(cell(0, column), "face").text)
            compare(shown, ["1/1", "2000.00 ms", "3000.00 ms", "1333.33 ms", "0.50"])
        }

        function test_rowMarks() {
            for (let row = 0; row < 8; ++row) {
                const line = findChild(view, "matrixRow" + row)
                compare(findChild(line, "stripe").visible, row % 2 === 1, "stripe of row " + row)
                const bar = findChild(line, "noteBar")
                compare(String(bar.color) === String(MorvelaTheme.saffron), row === 2, "bar of row " + row)
            }
        }

        // The copied feedback outlives a tempo change: the matrix is updated in place.
        function test_clickCopiesAValue() {
            const straight = cell(2, "straight")
            const face = findChild(straight, "face")
            mouseClick(straight)
            compare(TestServices.clipboardText(), "500.00")
            compare(face.text, "Copied")
            compareColor(face.color, MorvelaTheme.saffron)
            calculator.bpm = 90
            compare(cell(2, "straight"), straight)
            compare(face.text, "Copied")
            TestServices.advance(800)
            compare(face.text, "666.67 ms")
            compareColor(face.color, MorvelaTheme.primaryText)
        }

        function test_formulaStrip() {
            const text = "Straight = 60000 / BPM × 4/N   ·   Dotted × 1.5   ·   Triplet × 2/3   ·   click a value to copy"
            verify(findItem(view.contentItem, item => item.text === text) !== null)
        }

        function test_commit_data() {
            return [
                { tag: "Return, decimal comma", commit: "return", typed: "128,5", bpm: 128.5, text: "128.50" },
                { tag: "Return, letters revert", commit: "return", typed: "fast", bpm: 120, text: "120" },
                { tag: "focus leaves the field", commit: "tab", typed: "96", bpm: 96, text: "96" },
                { tag: "another tool is chosen", commit: "switch", typed: "137", bpm: 137, text: "137" }
            ]
        }
        function test_commit(data) {
            typeIntoField(data.typed)
            compare(calculator.bpm, 120)
            if (data.commit === "return")
                keyClick(Qt.Key_Return)
            else if (data.commit === "tab")
                keyClick(Qt.Key_Tab)
            else
                host.active = false
            compare(calculator.bpm, data.bpm)
            compare(calculator.bpmText, data.text)
            if (host.active)
                compare(field().text, data.text)
        }

        function test_tapping_data() {
            return [
                { tag: "Space, nothing focused", focusField: false, tap: () => keyClick(Qt.Key_Space) },
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
            TapClock.advance(500)
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
        }

        // A typed tempo beyond the slider's range stays as typed while the controls show it.
        function test_typedTempoBeyondTheSliderStays() {
            calculator.bpm = 999
            calculator.bpmText = "999"
            host.active = false
            host.active = true
            view = host.item
            waitForRendering(view)
            compare(calculator.bpm, 999)
            const slider = findChild(view, "bpmSlider")
            compare(slider.value, slider.to)
            verify(!findChild(view, "stepUp").enabled)
            verify(findChild(view, "stepDown").enabled)
        }
    }
}
