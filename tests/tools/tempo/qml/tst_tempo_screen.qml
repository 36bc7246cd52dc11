import QtQuick
import QtTest
import Morvela
import MorvelaTest
import TempoTest

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
                state: loader.calculatorState
                accent: MorvelaTheme.saffron
            }
        }
    }

    TestCase {
        name: "TempoScreen"
        when: windowShown

        property CalculatorState state
        property Loader host
        property Item view

        function init() {
            state = createTemporaryObject(stateComponent, root)
            host = createTemporaryObject(hostComponent, root, { calculatorState: state })
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

        function tile(label) {
            return findTile(view, label)
        }

        function findTile(item, label) {
            if (item.metric !== undefined && item.metric.label === label)
                return item
            for (let i = 0; i < item.children.length; ++i) {
                const found = findTile(item.children[i], label)
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

        function test_header() {
            compare(tile("Quarter").metric.value, "500.00 ms")
            compare(tile("1/8 dotted").metric.value, "375.00 ms")
            compare(tile("1/16 Hz").metric.value, "8.00")
            compareColor(tile("Quarter").metric.tint, MorvelaTheme.saffron)
            compareColor(tile("1/8 dotted").metric.tint, MorvelaTheme.lacquer)
            compareColor(tile("1/16 Hz").metric.tint, MorvelaTheme.teal)
        }

        function test_headerCopiesTheBareNumber_data() {
            return [
                { tag: "quarter", label: "Quarter", copied: "500.00" },
                { tag: "dotted eighth", label: "1/8 dotted", copied: "375.00" },
                { tag: "sixteenth rate", label: "1/16 Hz", copied: "8.00" }
            ]
        }
        function test_headerCopiesTheBareNumber(data) {
            mouseClick(tile(data.label))
            compare(TestServices.clipboardText(), data.copied)
        }

        function test_matrixRows_data() {
            return [
                { tag: "120, 1/1", bpm: 120, row: 0, cells: ["1/1", "2000.00 ms", "3000.00 ms", "1333.33 ms", "0.50"] },
                { tag: "120, 1/4", bpm: 120, row: 2, cells: ["1/4", "500.00 ms", "750.00 ms", "333.33 ms", "2.00"] },
                { tag: "120, 1/128", bpm: 120, row: 7, cells: ["1/128", "15.62 ms", "23.44 ms", "10.42 ms", "64.00"] },
                { tag: "90, 1/8", bpm: 90, row: 3, cells: ["1/8", "333.33 ms", "500.00 ms", "222.22 ms", "3.00"] }
            ]
        }
        function test_matrixRows(data) {
            state.bpm = data.bpm
            const shown = [findChild(findChild(view, "matrixRow" + data.row), "note").text]
            for (const column of ["straight", "dotted", "triplet", "rateHz"])
                shown.push(findChild(cell(data.row, column), "face").text)
            compare(shown, data.cells)
        }

        function test_rowMarks() {
            for (let row = 0; row < 8; ++row) {
                const line = findChild(view, "matrixRow" + row)
                compare(findChild(line, "stripe").visible, row % 2 === 1, "stripe of row " + row)
                const bar = findChild(line, "noteBar")
                compare(String(bar.color) === String(MorvelaTheme.saffron), row === 2, "bar of row " + row)
            }
        }

        function test_hzColumnIsMuted() {
            compareColor(findChild(cell(0, "rateHz"), "face").color, MorvelaTheme.secondaryText)
            compareColor(findChild(cell(0, "straight"), "face").color, MorvelaTheme.primaryText)
        }

        function test_clickCopiesAValue() {
            const straight = cell(2, "straight")
            const face = findChild(straight, "face")
            mouseClick(straight)
            compare(TestServices.clipboardText(), "500.00")
            compare(face.text, "Copied")
            compareColor(face.color, MorvelaTheme.saffron)
            TestServices.advance(800)
            compare(face.text, "500.00 ms")
            compareColor(face.color, MorvelaTheme.primaryText)
        }

        // A tempo change updates the matrix in place: a copied value keeps its feedback.
        function test_copiedFeedbackSurvivesATempoChange() {
            const straight = cell(2, "straight")
            mouseClick(straight)
            state.bpm = 90
            compare(cell(2, "straight"), straight)
            verify(straight.copied)
            TestServices.advance(800)
            compare(findChild(straight, "face").text, "666.67 ms")
        }

        function test_formulaStrip() {
            let strip = null
            const search = item => {
                if (item.text === "Straight = 60000 / BPM × 4/N   ·   Dotted × 1.5   ·   Triplet × 2/3   ·   click a value to copy")
                    strip = item
                for (let i = 0; i < item.children.length; ++i)
                    search(item.children[i])
            }
            search(view.contentItem)
            verify(strip !== null)
        }

        function test_commitOnReturn_data() {
            return [
                { tag: "decimal comma", typed: "128,5", bpm: 128.5, text: "128.50" },
                { tag: "beyond the slider", typed: "999", bpm: 999, text: "999" },
                { tag: "letters revert", typed: "fast", bpm: 120, text: "120" }
            ]
        }
        function test_commitOnReturn(data) {
            typeIntoField(data.typed)
            compare(state.bpmText, data.typed)
            compare(state.bpm, 120)
            keyClick(Qt.Key_Return)
            compare(state.bpm, data.bpm)
            compare(state.bpmText, data.text)
            compare(field().text, data.text)
        }

        function test_commitOnFocusLoss() {
            typeIntoField("96")
            keyClick(Qt.Key_Tab)
            verify(!field().fieldFocused)
            compare(state.bpm, 96)
            compare(field().text, "96")
        }

        function test_commitWhenAnotherToolIsChosen() {
            typeIntoField("137")
            host.active = false
            compare(state.bpm, 137)
            compare(state.bpmText, "137")
        }

        function test_textFollowsTheTempo() {
            state.bpm = 128.5
            compare(field().text, "128.50")
        }

        function test_spaceTapsOncePerPress_data() {
            return [
                { tag: "nothing focused", focusField: false },
                { tag: "field focused", focusField: true }
            ]
        }
        function test_spaceTapsOncePerPress(data) {
            state.bpm = 90
            if (data.focusField)
                field().input.forceActiveFocus()
            keyClick(Qt.Key_Space)
            compare(state.bpm, 90)
            TapClock.advance(500)
            keyClick(Qt.Key_Space)
            // A release counted as a tap would give 360.
            compare(state.bpm, 120)
            compare(field().text, "120")
            compare(field().fieldFocused, data.focusField)
        }

        function test_tapButton() {
            state.bpm = 90
            const button = findChild(view, "tapButton")
            mouseClick(button)
            TapClock.advance(250)
            mouseClick(button)
            compare(state.bpm, 240)
        }

        function test_sliderStoresWholeTempos() {
            const slider = findChild(view, "bpmSlider")
            mouseDrag(slider.handle, slider.handle.width / 2, slider.handle.height / 2, slider.width / 3 + 0.37, 0)
            verify(state.bpm > 120)
            compare(state.bpm, Math.round(state.bpm))
            compare(state.bpmText, String(state.bpm))
        }

        function test_sliderKeys() {
            const slider = findChild(view, "bpmSlider")
            slider.forceActiveFocus()
            keyClick(Qt.Key_Right)
            compare(state.bpm, 121)
            keyClick(Qt.Key_Left)
            keyClick(Qt.Key_Left)
            compare(state.bpm, 119)
            compare(field().text, "119")
        }

        function test_stepper() {
            mouseClick(findChild(view, "stepUp"))
            compare(state.bpm, 121)
            compare(field().text, "121")
            mouseClick(findChild(view, "stepDown"))
            mouseClick(findChild(view, "stepDown"))
            compare(state.bpm, 119)
        }

        // A typed tempo beyond the slider's range stays as typed while the controls show it.
        function test_typedTempoBeyondTheSliderStays() {
            state.bpm = 999
            state.bpmText = "999"
            host.active = false
            host.active = true
            view = host.item
            waitForRendering(view)
            compare(state.bpm, 999)
            const slider = findChild(view, "bpmSlider")
            compare(slider.value, slider.to)
            verify(!findChild(view, "stepUp").enabled)
            verify(findChild(view, "stepDown").enabled)
        }
    }
}
