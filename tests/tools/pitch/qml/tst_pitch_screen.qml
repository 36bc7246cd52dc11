import QtQuick
import QtTest
import Morvela
import MorvelaTest

// The figures are proven in tst_notefrequency; this checks that the screen shows them, copies them
// and routes every input to the controls. Also run under de_DE.UTF-8.
Item {
    id: root
    width: 960
    height: 1300

    Component {
        id: contentComponent
        ContentView {
            anchors.fill: parent
        }
    }

    ScreenTestCase {
        id: testCase
        name: "PitchScreen"
        screen: Component {
            NoteFrequencyView {
                calculator: testCase.calculator
                accent: MorvelaTheme.teal
            }
        }

        function cell(row, column) {
            return findChild(findChild(view, "matrixRow" + row), "cell" + column)
        }
        function face(row, column) {
            return findChild(cell(row, column), "face")
        }
        function headline() {
            return findItems(view, item => item.metric !== undefined).map(tile => tile.metric.label + " " + tile.metric.value)
        }
        // Every way of leaving the field commits; a text that changes nothing writes nothing, so
        // the other tools are not disturbed. A screen shown again shows the reference, whoever
        // wrote it.
        function test_commit_data() {
            return [
                { tag: "Return, letters revert", commit: () => keyClick(Qt.Key_Return), typed: "abc", a4: 440, writes: 0 },
                { tag: "Return, same reference", commit: () => keyClick(Qt.Key_Return), typed: "0440.0", a4: 440, writes: 0 },
                { tag: "Tab", commit: () => keyClick(Qt.Key_Tab), typed: "442", a4: 442, writes: 1 },
                { tag: "a click elsewhere", commit: () => mouseClick(cell(0, 0)), typed: "443", a4: 443, writes: 1 },
                { tag: "another tool is chosen", commit: () => host.active = false, typed: "437", a4: 437, writes: 1 },
                { tag: "another tool writes while away", commit: () => { host.active = false; calculator.a4 = 432 }, typed: "", a4: 432, writes: 1 }
            ]
        }
        function test_commit(data) {
            let writes = 0
            calculator.a4Changed.connect(() => ++writes)
            typeInto(findChild(view, "a4Field"), data.typed)
            data.commit()
            compare(calculator.a4, data.a4)
            compare(writes, data.writes)
            host.active = true
            compare(findChild(host.item, "a4Field").text, String(data.a4))
        }

        // At shutdown the controls may outlive the state: nothing may touch it.
        function test_withoutStateNothingHappens() {
            const controls = findChild(view, "tuningControlsController")
            calculator.destroy()
            wait(0)
            compare(controls.calculator, null)
            controls.commitText()
            controls.writeSlider(450)
            controls.step(1)
            controls.reset()
            verify(!controls.canStepUp && !controls.canStepDown)
        }

        // A stepper click keeps the fraction of a typed reference.
        function test_stepperAfterAFraction() {
            typeInto(findChild(view, "a4Field"), "439,5")
            keyClick(Qt.Key_Return)
            mouseClick(findChild(view, "stepUp"))
            compare(calculator.a4, 440.5)
            compare(findChild(view, "a4Field").text, "440.5")
            calculator.a4 = 480
            compare(findChild(view, "a4Field").text, "480")
            verify(!findChild(view, "stepUp").enabled)
        }

        function test_sliderDragStoresWholeNumbers() {
            const slider = findChild(view, "a4Slider")
            mouseDrag(slider.handle, slider.handle.width / 2, slider.handle.height / 2, slider.width / 5 + 0.37, 0)
            verify(calculator.a4 > 440)
            compare(calculator.a4, Math.round(calculator.a4))
            compare(findChild(view, "a4Field").text, String(calculator.a4))
        }

        // By a click over a typed text and a fraction, and by a screen reader.
        function test_reset() {
            const button = findChild(view, "resetButton")
            compare(button.Accessible.description, "Reset A4 to 440 Hz")
            calculator.a4 = 439.5
            typeInto(findChild(view, "a4Field"), "47")
            mouseClick(button)
            compare(calculator.a4, 440)
            compare(findChild(view, "a4Field").text, "440")
            compare(headline(), ["A4 440.0", "C4 261.6", "A3 220.0"])
            calculator.a4 = 450
            button.Accessible.pressAction()
            compare(calculator.a4, 440)
        }

        // Every cell copies what it shows; the copied feedback outlives a reference change, as
        // the matrix is updated in place.
        function test_cellsCopyWhatTheyShow() {
            for (const [row, column, name, text] of [[1, 3, "C#3", "138.6"], [11, 8, "B8", "7902.1"]]) {
                compare(cell(row, column).Accessible.name, name + " " + text)
                cell(row, column).Accessible.pressAction()
                compare(TestServices.clipboardText(), text)
            }
            const c4 = cell(0, 4)
            mouseClick(c4)
            compare(TestServices.clipboardText(), "261.6")
            compare(face(0, 4).text, "Copied")
            compareColor(face(0, 4).color, MorvelaTheme.teal)
            compare(c4.Accessible.name, "Copied")
            calculator.a4 = 432
            compare(headline(), ["A4 432.0", "C4 256.9", "A3 216.0"])
            compare(cell(0, 4), c4)
            TestServices.advance(800)
            compare(face(0, 4).text, "256.9")
            compareColor(face(0, 4).color, MorvelaTheme.primaryText)
            compare(c4.Accessible.name, "C4 256.9")
        }

        // Only A4 stands out among the cells; the formula strip is shown once.
        function test_tableMarks() {
            const formula = "f = A4 × 2^((n - 69) / 12)   ·   C4 = middle C   ·   A4 highlighted   ·   click a value to copy"
            compare(findItems(view, item => item instanceof FormulaStrip).map(strip => strip.text), [formula])
            const titles = findItems(findChild(view, "matrixHeader"), item => item instanceof Text)
            compare(titles.map(title => title.text), ["Note", "0", "1", "2", "3", "4", "5", "6", "7", "8"])
            for (let row = 0; row < 12; ++row) {
                for (let column = 0; column < 9; ++column) {
                    const reference = row === 9 && column === 4
                    compare(findChild(cell(row, column), "referenceGround").visible, reference)
                    compare(face(row, column).font.bold, reference)
                }
            }
        }

        // The window hosts the screen on its own state: the sidebar summary follows the field.
        function test_inTheWindow() {
            WindowState.setValue("selectedCalculatorTool", "frequency")
            const window = createTemporaryObject(contentComponent, root)
            view = window.detail.item
            typeInto(findChild(view, "a4Field"), "442,5")
            keyClick(Qt.Key_Return)
            compare(findChild(window, "summary").text, "A4 = 442.5 Hz\n120 BPM = 500 ms")
        }
    }
}
