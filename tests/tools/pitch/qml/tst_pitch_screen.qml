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

        function field() {
            return findChild(view, "a4Field")
        }

        function cell(row, column) {
            return findChild(findChild(view, "matrixRow" + row), "cell" + column)
        }

        function face(row, column) {
            return findChild(cell(row, column), "face")
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

        function tile(label) {
            return findItem(view, item => item.metric !== undefined && item.metric.label === label)
        }

        function headline() {
            return ["A4", "C4", "A3"].map(label => tile(label).metric.value)
        }

        // Colours as drawn, 8 bits a channel (the theme's own carry more precision).
        function compareColor(actual, expected, message) {
            compare(String(actual), String(expected), message)
        }

        function typeIntoField(text) {
            field().input.forceActiveFocus()
            field().input.selectAll()
            for (const character of text)
                keyClick(character)
        }

        function test_typing432() {
            typeIntoField("432")
            compare(calculator.a4, 440)
            keyClick(Qt.Key_Return)
            compare(calculator.a4, 432)
            compare(headline(), ["432.0", "256.9", "216.0"])
            compare(face(9, 4).text, "432.0")
            compare(field().text, "432")
        }

        function test_commit_data() {
            return [
                { tag: "Return, decimal comma", commit: "return", typed: "439,5", a4: 439.5, text: "439.5" },
                { tag: "Return, above the range", commit: "return", typed: "500", a4: 480, text: "480" },
                { tag: "Return, below the range", commit: "return", typed: "100", a4: 400, text: "400" },
                { tag: "Return, letters revert", commit: "return", typed: "abc", a4: 440, text: "440" },
                { tag: "focus leaves the field", commit: "tab", typed: "442", a4: 442, text: "442" },
                { tag: "a click elsewhere", commit: "click", typed: "443", a4: 443, text: "443" },
                { tag: "another tool is chosen", commit: "switch", typed: "437", a4: 437, text: "437" }
            ]
        }
        function test_commit(data) {
            typeIntoField(data.typed)
            compare(calculator.a4, 440)
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
                compare(field().text, data.text)
        }

        // A stepper click keeps the fraction of a typed reference.
        function test_stepperAfterAFraction() {
            typeIntoField("439,5")
            keyClick(Qt.Key_Return)
            mouseClick(findChild(view, "stepUp"))
            compare(calculator.a4, 440.5)
            compare(field().text, "440.5")
            compare(headline()[0], "440.5")
            mouseClick(findChild(view, "stepDown"))
            mouseClick(findChild(view, "stepDown"))
            compare(calculator.a4, 438.5)
        }

        function test_stepperStopsAtTheEnds() {
            calculator.a4 = 480
            verify(!findChild(view, "stepUp").enabled)
            verify(findChild(view, "stepDown").enabled)
            calculator.a4 = 400
            verify(findChild(view, "stepUp").enabled)
            verify(!findChild(view, "stepDown").enabled)
        }

        function test_sliderDragStoresWholeNumbers() {
            const slider = findChild(view, "a4Slider")
            mouseDrag(slider.handle, slider.handle.width / 2, slider.handle.height / 2, slider.width / 5 + 0.37, 0)
            verify(calculator.a4 > 440)
            compare(calculator.a4, Math.round(calculator.a4))
            compare(field().text, String(calculator.a4))
        }

        function test_reset_data() {
            return [
                { tag: "committed 432", a4: 432, typed: "" },
                { tag: "a fraction with text typed over it", a4: 439.5, typed: "47" },
                { tag: "440 with rejected text pending", a4: 440, typed: "abc" }
            ]
        }
        function test_reset(data) {
            calculator.a4 = data.a4
            if (data.typed.length > 0)
                typeIntoField(data.typed)
            mouseClick(findChild(view, "resetButton"))
            compare(calculator.a4, 440)
            compare(calculator.a4Text, "440")
            compare(field().text, "440")
            compare(headline(), ["440.0", "261.6", "220.0"])
        }

        function test_resetFromAScreenReader() {
            calculator.a4 = 450
            const button = findChild(view, "resetButton")
            compare(button.Accessible.name, "Reset 440")
            compare(button.Accessible.description, "Reset A4 to 440 Hz")
            button.Accessible.pressAction()
            compare(calculator.a4, 440)
        }

        // The copied feedback outlives a reference change: the matrix is updated in place.
        function test_clickCopiesACell() {
            const c4 = cell(0, 4)
            compare(c4.Accessible.name, "C4 261.6")
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

        function test_headerCopiesItsValues() {
            mouseClick(tile("C4"))
            compare(TestServices.clipboardText(), "261.6")
            compare(tile("A4").Accessible.name, "A4 440.0")
        }

        // Only A4 is set apart; naturals and sharps have their own bars; odd rows are striped
        // and every row but the last has a divider.
        function test_tableMarks() {
            for (let row = 0; row < 12; ++row) {
                const line = findChild(view, "matrixRow" + row)
                const sharp = [1, 3, 6, 8, 10].includes(row)
                compare(findChild(line, "stripe").visible, row % 2 === 1, "stripe of row " + row)
                const bar = findChild(line, "noteBar")
                compareColor(bar.color, sharp ? MorvelaTheme.secondaryText : MorvelaTheme.teal, "bar of row " + row)
                compare(bar.opacity, sharp ? 0.35 : 0.85, "bar of row " + row)
                compareColor(findChild(line, "note").color, sharp ? MorvelaTheme.secondaryText : MorvelaTheme.primaryText,
                             "name of row " + row)
                for (let column = 0; column < 9; ++column) {
                    const reference = row === 9 && column === 4
                    compare(findChild(cell(row, column), "referenceGround").visible, reference)
                    compare(face(row, column).font.bold, reference)
                }
            }
            compareColor(face(9, 4).color, MorvelaTheme.teal)
            const dividers = Array.from(findChild(view, "matrixRow11").children).filter(child => child instanceof TableDivider)
            compare(dividers.length, 1)
            verify(!dividers[0].visible)
        }

        function test_headerRowMarksOctave4() {
            const header = findChild(view, "matrixHeader")
            const titles = Array.from(findItem(header, item => item instanceof Row).children).filter(item => item instanceof Text)
            compare(titles.map(title => title.text), ["Note", "0", "1", "2", "3", "4", "5", "6", "7", "8"])
            for (const title of titles)
                compareColor(title.color, title.text === "4" ? MorvelaTheme.saffron : MorvelaTheme.secondaryText,
                             "title " + title.text)
        }

        function test_formulaStrip() {
            const text = "f = A4 × 2^((n - 69) / 12)   ·   C4 = middle C   ·   A4 highlighted   ·   click a value to copy"
            verify(findItem(view.contentItem, item => item.text === text) !== null)
        }

        function test_panelsAndSliderLabels() {
            for (const text of ["Note Frequencies", "Concert Pitch", "Frequency Matrix", "A4 tuning", "Hz", "400 Hz", "480 Hz"])
                verify(findItem(view.contentItem, item => item.text === text) !== null, text)
        }

        // Hosted in the window: the sidebar summary follows a reference typed on this screen.
        function test_sidebarSummaryFollows() {
            WindowState.setValue("selectedCalculatorTool", "frequency")
            const window = createTemporaryObject(contentComponent, root)
            waitForRendering(window)
            const screenField = findChild(window.detail.item, "a4Field")
            screenField.input.forceActiveFocus()
            screenField.input.selectAll()
            for (const character of "442,5")
                keyClick(character)
            keyClick(Qt.Key_Return)
            compare(findChild(window, "summary").text, "A4 = 442.5 Hz\n120 BPM = 500 ms")
        }
    }
}
