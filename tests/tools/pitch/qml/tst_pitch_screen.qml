import QtQuick
import QtTest
import Morvela
import MorvelaTest

// The figures are proven in tst_notefrequency and tst_pitchcontrollers; this checks that the
// screen shows them, copies them and routes every input to the controls. Also run under
// de_DE.UTF-8: every figure and accepted reference keeps its decimal point.
Item {
    id: root
    width: 960
    height: 1300

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
            sourceComponent: NoteFrequencyView {
                calculator: loader.calculatorState
                accent: MorvelaTheme.teal
            }
        }
    }

    Component {
        id: contentComponent
        ContentView {
            anchors.fill: parent
        }
    }

    TestCase {
        name: "PitchScreen"
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
        }

        function cell(row, column) {
            return findChild(findChild(view, "matrixRow" + row), "cell" + column)
        }
        function face(row, column) {
            return findChild(cell(row, column), "face")
        }
        function findItems(item, matches, found = []) {
            if (matches(item))
                found.push(item)
            for (let i = 0; i < item.children.length; ++i)
                findItems(item.children[i], matches, found)
            return found
        }
        function headline() {
            return findItems(view, item => item.metric !== undefined).map(tile => tile.metric.label + " " + tile.metric.value)
        }
        // Colours as drawn, 8 bits a channel (the theme's own carry more precision).
        function compareColor(actual, expected, message) {
            compare(String(actual), String(expected), message)
        }
        function typeIntoField(text, screen = view) {
            const field = findChild(screen, "a4Field")
            field.input.forceActiveFocus()
            field.input.selectAll()
            for (const character of text)
                keyClick(character)
        }

        function test_typing432() {
            typeIntoField("432")
            compare(calculator.a4, 440)
            keyClick(Qt.Key_Return)
            compare(headline(), ["A4 432.0", "C4 256.9", "A3 216.0"])
            compare(face(9, 4).text, "432.0")
            compare(findChild(view, "a4Field").text, "432")
        }

        function test_commit_data() {
            return [
                { tag: "Return, decimal comma", commit: "return", typed: "439,5", a4: 439.5, text: "439.5" },
                { tag: "Return, above the range", commit: "return", typed: "500", a4: 480, text: "480" },
                { tag: "Return, letters revert", commit: "return", typed: "abc", a4: 440, text: "440" },
                { tag: "Tab leaves the field", commit: "tab", typed: "442", a4: 442, text: "442" },
                { tag: "a click elsewhere", commit: "click", typed: "443", a4: 443, text: "443" },
                { tag: "another tool is chosen", commit: "switch", typed: "437", a4: 437, text: "437" }
            ]
        }
        function test_commit(data) {
            typeIntoField(data.typed)
            if (data.commit === "return")
                keyClick(Qt.Key_Return)
            else if (data.commit === "tab")
                keyClick(Qt.Key_Tab)
            else if (data.commit === "click")
                mouseClick(cell(0, 0))
            else
                host.active = false
            compare(calculator.a4, data.a4)
            compare(calculator.a4Text, data.text)
            if (host.active)
                compare(findChild(view, "a4Field").text, data.text)
        }

        // A stepper click keeps the fraction of a typed reference.
        function test_stepperAfterAFraction() {
            typeIntoField("439,5")
            keyClick(Qt.Key_Return)
            mouseClick(findChild(view, "stepUp"))
            compare(calculator.a4, 440.5)
            compare(findChild(view, "a4Field").text, "440.5")
            calculator.a4 = 480
            verify(!findChild(view, "stepUp").enabled)
        }

        function test_sliderDragStoresWholeNumbers() {
            const slider = findChild(view, "a4Slider")
            mouseDrag(slider.handle, slider.handle.width / 2, slider.handle.height / 2, slider.width / 5 + 0.37, 0)
            verify(calculator.a4 > 440)
            compare(calculator.a4, Math.round(calculator.a4))
            compare(findChild(view, "a4Field").text, String(calculator.a4))
        }

        function test_reset_data() {
            const button = () => findChild(view, "resetButton")
            return [
                { tag: "click, from 432", a4: 432, typed: "", press: () => mouseClick(button()) },
                { tag: "click, text typed over a fraction", a4: 439.5, typed: "47", press: () => mouseClick(button()) },
                { tag: "click, at 440 with letters typed", a4: 440, typed: "abc", press: () => mouseClick(button()) },
                { tag: "screen reader", a4: 450, typed: "", press: () => button().Accessible.pressAction() }
            ]
        }
        function test_reset(data) {
            calculator.a4 = data.a4
            if (data.typed.length > 0)
                typeIntoField(data.typed)
            compare(findChild(view, "resetButton").Accessible.description, "Reset A4 to 440 Hz")
            data.press()
            compare(calculator.a4, 440)
            compare(calculator.a4Text, "440")
            compare(findChild(view, "a4Field").text, "440")
            compare(headline(), ["A4 440.0", "C4 261.6", "A3 220.0"])
        }

        // The copied feedback outlives a reference change: the matrix is updated in place.
        function test_clickCopiesACell() {
            const c4 = cell(0, 4)
            mouseClick(c4)
            compare(TestServices.clipboardText(), "261.6")
            compare(face(0, 4).text, "Copied")
            compareColor(face(0, 4).color, MorvelaTheme.teal)
            compare(c4.Accessible.name, "Copied")
            calculator.a4 = 432
            compare(cell(0, 4), c4)
            compare(face(0, 4).text, "Copied")
            TestServices.advance(800)
            compare(face(0, 4).text, "256.9")
            compareColor(face(0, 4).color, MorvelaTheme.primaryText)
            compare(c4.Accessible.name, "C4 256.9")
        }

        function test_cellsCopyWhatTheyShow_data() {
            return [
                { tag: "C0", row: 0, column: 0, text: "16.4", name: "C0 16.4" },
                { tag: "C#3", row: 1, column: 3, text: "138.6", name: "C#3 138.6" },
                { tag: "A4", row: 9, column: 4, text: "440.0", name: "A4 440.0" },
                { tag: "B8", row: 11, column: 8, text: "7902.1", name: "B8 7902.1" }
            ]
        }
        function test_cellsCopyWhatTheyShow(data) {
            compare(face(data.row, data.column).text, data.text)
            compare(cell(data.row, data.column).Accessible.name, data.name)
            cell(data.row, data.column).Accessible.pressAction()
            compare(TestServices.clipboardText(), data.text)
        }

        // Octave 4 stands out in the header and only A4 among the cells; naturals and sharps
        // have their own bars; odd rows are striped and every row but the last has a divider.
        function test_tableMarks() {
            const titles = findItems(findChild(view, "matrixHeader"), item => item instanceof Text)
            compare(titles.map(title => title.text), ["Note", "0", "1", "2", "3", "4", "5", "6", "7", "8"])
            for (const title of titles)
                compareColor(title.color, title.text === "4" ? MorvelaTheme.saffron : MorvelaTheme.secondaryText, title.text)
            for (let row = 0; row < 12; ++row) {
                const line = findChild(view, "matrixRow" + row)
                const sharp = [1, 3, 6, 8, 10].includes(row)
                compare(findChild(line, "stripe").visible, row % 2 === 1, "stripe of row " + row)
                compare(findItems(line, item => item instanceof TableDivider)[0].visible, row < 11, "divider of row " + row)
                const bar = findChild(line, "noteBar")
                compareColor(bar.color, sharp ? MorvelaTheme.secondaryText : MorvelaTheme.teal, "bar of row " + row)
                compare(bar.opacity, sharp ? 0.35 : 0.85, "bar of row " + row)
                for (let column = 0; column < 9; ++column) {
                    const reference = row === 9 && column === 4
                    compare(findChild(cell(row, column), "referenceGround").visible, reference)
                    compare(face(row, column).font.bold, reference)
                }
            }
            compareColor(face(9, 4).color, MorvelaTheme.teal)
        }

        function test_formulaStrip() {
            const text = "f = A4 × 2^((n - 69) / 12)   ·   C4 = middle C   ·   A4 highlighted   ·   click a value to copy"
            compare(findItems(view, item => item instanceof FormulaStrip).map(strip => strip.text), [text])
        }

        // Hosted in the window: the header copies its figures and the sidebar summary follows a
        // reference typed on this screen.
        function test_inTheWindow() {
            WindowState.setValue("selectedCalculatorTool", "frequency")
            const window = createTemporaryObject(contentComponent, root)
            waitForRendering(window)
            view = window.detail.item
            mouseClick(findItems(view, item => item.metric !== undefined && item.metric.label === "C4")[0])
            compare(TestServices.clipboardText(), "261.6")
            typeIntoField("442,5")
            keyClick(Qt.Key_Return)
            compare(findChild(window, "summary").text, "A4 = 442.5 Hz\n120 BPM = 500 ms")
        }
    }
}
