import QtQuick
import QtTest
import Morvela
import MorvelaTest

// The scale, the playback and the input rules are proven in tst_tetscale and
// tst_temperamentcontroller; this checks that the screen shows and copies the figures, sounds
// what is clicked and routes every control to the controller.
Item {
    id: root
    width: 960
    height: 1400

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
            sourceComponent: TemperamentView {
                calculator: loader.calculatorState
                accent: MorvelaTheme.lake
            }
        }
    }

    TestCase {
        name: "TemperamentScreen"
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

        function field() {
            return findChild(view, "referenceField")
        }

        function stepRow(index) {
            return findChild(view, "stepRow" + index)
        }

        function part(index, name) {
            return findChild(stepRow(index), name)
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

        function typeIntoField(text) {
            field().input.forceActiveFocus()
            field().input.selectAll()
            for (const character of text)
                keyClick(character)
        }

        function test_header_data() {
            return [
                { tag: "scale", label: "Scale", value: "12-TET", copied: "12", at53: "53-TET" },
                { tag: "step", label: "Step", value: "100.0 ¢", copied: "100.0", at53: "22.6 ¢" },
                { tag: "step ratio", label: "Step ratio", value: "×1.05946", copied: "1.05946", at53: "×1.01316" }
            ]
        }
        function test_header(data) {
            const tile = () => findItem(view, item => item.metric !== undefined && item.metric.label === data.label)
            compare(tile().metric.value, data.value)
            mouseClick(tile())
            compare(TestServices.clipboardText(), data.copied)
            calculator.tetDivisions = 53
            compare(tile().metric.value, data.at53)
        }

        function test_valueCellsCopy_data() {
            return [
                { tag: "frequency", cell: "frequency", face: "466.16 Hz", copied: "466.16" },
                { tag: "ratio", cell: "ratio", face: "×1.0595", copied: "1.05946" },
                { tag: "cents", cell: "cents", face: "100.0 ¢", copied: "100.0" }
            ]
        }
        function test_valueCellsCopy(data) {
            const cell = part(1, data.cell)
            const face = findChild(cell, "face")
            compare(face.text, data.face)
            mouseClick(cell)
            compare(TestServices.clipboardText(), data.copied)
            compare(face.text, "Copied")
            compare(TestServices.soundCount(), 0)
        }

        function test_clickSoundsTheStep_data() {
            return [
                { tag: "step area", area: "stepArea" },
                { tag: "nearest-note area", area: "nearestArea" }
            ]
        }
        function test_clickSoundsTheStep(data) {
            const area = part(3, data.area)
            compare(area.help, "Play 523.25 Hz")
            mouseClick(area)
            compare(TestServices.soundCount(), 1)
            const sound = TestServices.soundAt(0)
            compare(sound.kind, "tone")
            fuzzyCompare(sound.frequency, 523.2511, 1e-4)
            compare(sound.at, undefined)
            compare(calculator.tetPlaying, false)
        }

        function test_rowMarks() {
            compare(part(0, "stepLabel").text, "0")
            compare(part(12, "stepLabel").text, "octave")
            for (let index = 0; index <= 12; ++index) {
                const bar = part(index, "stepBar")
                compare(String(bar.color) === String(MorvelaTheme.lake), index === 0 || index === 12, "bar " + index)
                compare(findChild(stepRow(index), "stripe").visible, index % 2 === 1, "stripe " + index)
            }
            compare(part(3, "nearestNote").text, "C5")
            compare(part(3, "nearestCents").text, "+0¢")
            compare(String(part(3, "nearestCents").color), String(MorvelaTheme.fern))
        }

        function test_accessibleNames() {
            compare(stepRow(3).Accessible.name, "Step 3, 523.25 Hz, ratio 1.1892, 300.0 cents, C5 +0 cents")
            compare(part(3, "stepArea").Accessible.role, Accessible.Button)
            compare(part(3, "nearestArea").Accessible.name, "C5 +0 cents")
            compare(part(12, "stepArea").Accessible.name, "Octave")
            part(3, "stepArea").Accessible.pressAction()
            compare(TestServices.soundCount(), 1)
        }

        // The sounding row is highlighted in place of its stripe; Stop clears it at once.
        function test_playAndStop() {
            const button = findChild(view, "playButton")
            compare(button.text, "Play scale")
            mouseClick(button)
            compare(button.text, "Stop")
            TestServices.advance(300)
            compare(findChild(stepRow(1), "highlight").visible, true)
            compare(findChild(stepRow(1), "stripe").visible, false)
            compare(findChild(stepRow(0), "highlight").visible, false)
            mouseClick(button)
            compare(button.text, "Play scale")
            compare(findChild(stepRow(1), "highlight").visible, false)
            compare(findChild(stepRow(1), "stripe").visible, true)
            compare(TestServices.soundCount(), 2)
        }

        function test_presetWhilePlayingRestarts() {
            mouseClick(findChild(view, "playButton"))
            TestServices.advance(900)
            const presets = findChild(view, "presetsButton")
            mouseClick(presets)
            const menu = findChild(presets, "menu")
            tryCompare(menu, "opened", true)
            const entry = findChild(menu.contentItem, "entry3")
            compare(entry.text, "31 — meantone-like")
            mouseClick(entry)
            compare(calculator.tetDivisions, 31)
            compare(calculator.tetPlaying, true)
            compare(calculator.tetStep, 0)
            verify(stepRow(31) !== null)
            compare(part(31, "stepLabel").text, "octave")
            compare(findChild(stepRow(0), "highlight").visible, true)
        }

        function test_divisionsStepper() {
            mouseClick(findChild(findChild(view, "divisionsStepper"), "stepUp"))
            compare(calculator.tetDivisions, 13)
            compare(findChild(view, "divisionsValue").text, "13")
            compare(part(13, "stepLabel").text, "octave")
            compare(calculator.tetPlaying, false)
        }

        function test_commit_data() {
            return [
                { tag: "Return, decimal comma", commit: "return", typed: "261,63", reference: 261.63, text: "261.63" },
                { tag: "Return, letters revert", commit: "return", typed: "abc", reference: 440, text: "440" },
                { tag: "focus leaves the field", commit: "tab", typed: "5", reference: 20, text: "20" },
                { tag: "another tool is chosen", commit: "switch", typed: "300", reference: 300, text: "300" },
                { tag: "stepper up after typing", commit: "stepper", typed: "300", reference: 301, text: "301" }
            ]
        }
        function test_commit(data) {
            typeIntoField(data.typed)
            compare(calculator.tetReference, 440)
            if (data.commit === "return")
                keyClick(Qt.Key_Return)
            else if (data.commit === "tab")
                keyClick(Qt.Key_Tab)
            else if (data.commit === "stepper")
                mouseClick(findChild(findChild(view, "referenceStepper"), "stepUp"))
            else
                host.active = false
            compare(calculator.tetReference, data.reference)
            compare(calculator.tetReferenceText, data.text)
            if (host.active) {
                compare(field().text, data.text)
                compare(findChild(part(0, "frequency"), "face").text, data.reference.toFixed(2) + " Hz")
            }
        }

        function test_leavingStopsTheScale() {
            mouseClick(findChild(view, "playButton"))
            TestServices.advance(600)
            host.active = false
            compare(calculator.tetPlaying, false)
            compare(calculator.tetStep, undefined)
            TestServices.advance(3000)
            compare(TestServices.soundCount(), 3)
        }

        function test_formulaStrip() {
            const text = "f(k) = f₀ × 2^(k/N)   ·   step = 1200/N ¢   ·   equal intervals are equal ratios, not equal Hz   ·   click a row to hear it"
            verify(findItem(view.contentItem, item => item.text === text) !== null)
        }
    }
}
