import QtQuick
import QtTest
import Morvela
import MorvelaTest

// The arithmetic is proven in tst_tetscale; this checks what the screen shows, copies and
// sounds, the scale's playback on the manual loop clock, and that every control reaches the
// controller.
Item {
    width: 960
    height: 1400

    ScreenTestCase {
        id: testCase
        name: "TemperamentScreen"
        screen: Component {
            TemperamentView {
                calculator: testCase.calculator
            }
        }

        function part(index, name) {
            return findChild(findChild(view, "stepRow" + index), name)
        }

        function test_header_data() {
            return [
                { tag: "scale", label: "Scale", value: "12-TET", copied: "12", at53: "53-TET" },
                { tag: "step", label: "Step", value: "100.0 ¢", copied: "100.0", at53: "22.6 ¢" },
                { tag: "step ratio", label: "Step ratio", value: "×1.05946", copied: "1.05946", at53: "×1.01316" }
            ]
        }
        function test_header(data) {
            const tile = findItem(view, item => item.metric !== undefined && item.metric.label === data.label)
            compare(tile.metric.value, data.value)
            mouseClick(tile)
            compare(TestServices.clipboardText(), data.copied)
            calculator.tetDivisions = 53
            compare(tile.metric.value, data.at53)
        }

        function test_valueCellsCopy_data() {
            return [
                { tag: "frequency", cell: "frequency", face: "466.16 Hz", copied: "466.16" },
                { tag: "ratio", cell: "ratio", face: "×1.0595", copied: "1.05946" },
                { tag: "cents", cell: "cents", face: "100.0 ¢", copied: "100.0" }
            ]
        }
        function test_valueCellsCopy(data) {
            const face = findChild(part(1, data.cell), "face")
            compare(face.text, data.face)
            mouseClick(part(1, data.cell))
            compare(TestServices.clipboardText(), data.copied)
            compare(face.text, "Copied")
            compare(TestServices.soundCount(), 0)
        }

        function test_playAreasSoundTheStep_data() {
            return [
                { tag: "step, click", area: "stepArea", name: "Step 3", press: area => mouseClick(area) },
                { tag: "note, screen reader", area: "nearestArea", name: "C5 +0 cents",
                  press: area => area.Accessible.pressAction() }
            ]
        }
        function test_playAreasSoundTheStep(data) {
            const area = part(3, data.area)
            compare(area.Accessible.name, data.name)
            compare(area.help, "Play 523.25 Hz")
            data.press(area)
            compare(TestServices.soundCount(), 1)
            fuzzyCompare(TestServices.soundAt(0).frequency, 523.2511, 1e-4)
            compare(TestServices.soundAt(0).at, undefined)
            compare(findChild(view, "stepRow3").Accessible.name,
                    "Step 3, 523.25 Hz, ratio 1.1892, 300.0 cents, C5 +0 cents")
        }

        // Fern below 5 ¢, saffron from 5 and lacquer from 20 ¢; bars mark the reference and octave.
        function test_rowMarks_data() {
            return [
                { tag: "+2 ¢", reference: 440.5, tint: MorvelaTheme.fern },
                { tag: "-5.1 ¢", reference: 438.7, tint: MorvelaTheme.saffron },
                { tag: "+20.3 ¢", reference: 445.2, tint: MorvelaTheme.lacquer }
            ]
        }
        function test_rowMarks(data) {
            calculator.tetReference = data.reference
            compare(String(part(0, "nearestCents").color), String(data.tint))
            compare(part(12, "stepLabel").text, "octave")
            const marked = [0, 1, 11, 12].map(index => String(part(index, "stepBar").color) === String(MorvelaTheme.lake))
            compare(marked, [true, false, false, true])
        }

        // Step 0 at the start, then one step per tick on the loop's grid; the tick after the octave ends.
        function test_scalePlayback_data() {
            return [{ tag: "12", divisions: 12 }, { tag: "1", divisions: 1 }]
        }
        function test_scalePlayback(data) {
            calculator.tetDivisions = data.divisions
            const start = TestServices.seconds()
            mouseClick(findChild(view, "playButton"))
            TestServices.advance(300 * data.divisions)
            compare([calculator.tetStep, TestServices.soundCount()], [data.divisions, data.divisions + 1])
            for (let k = 0; k <= data.divisions; ++k) {
                fuzzyCompare(TestServices.soundAt(k).frequency, 440 * Math.pow(2, k / data.divisions), 1e-9)
                compare(TestServices.soundAt(k).at, start + 0.3 * k)
            }
            TestServices.advance(300)
            compare([calculator.tetPlaying, calculator.tetStep, TestServices.soundCount()],
                    [false, undefined, data.divisions + 1])
        }

        // A new reference (or A4) does not restart the scale: the next tick sounds the new pitch.
        function test_newReferenceSoundsAtTheNextTick() {
            mouseClick(findChild(view, "playButton"))
            TestServices.advance(600)
            calculator.tetReference = 300
            calculator.a4 = 432
            TestServices.advance(300)
            compare(calculator.tetStep, 3)
            fuzzyCompare(TestServices.soundAt(3).frequency, 300 * Math.pow(2, 3 / 12), 1e-9)
        }

        function test_newDivisionsWhileIdleDoNotPlay() {
            mouseClick(findChild(findChild(view, "divisionsStepper"), "stepUp"))
            compare([calculator.tetDivisions, findChild(view, "divisionsValue").text, part(13, "stepLabel").text,
                     findChild(view, "stepRow13").visible, findChild(view, "stepRow14").visible],
                    [13, "13", "octave", true, false])
            TestServices.advance(1000)
            compare([calculator.tetPlaying, TestServices.soundCount()], [false, 0])
        }

        // The sounding row is highlighted in place of its stripe; a preset restarts the scale at
        // step 0 with its N; Stop clears the highlight at once.
        function test_playPresetAndStop() {
            const button = findChild(view, "playButton")
            mouseClick(button)
            TestServices.advance(300)
            compare([button.text, part(1, "highlight").visible, part(1, "stripe").visible], ["Stop", true, false])
            const presets = findChild(view, "presetsButton")
            mouseClick(presets)
            const entry = findChild(findChild(presets, "menu").contentItem, "entry3")
            compare(entry.text, "31 — meantone-like")
            mouseClick(entry)
            compare([calculator.tetDivisions, part(31, "stepLabel").text, part(0, "highlight").visible], [31, "octave", true])
            mouseClick(button)
            compare([button.text, part(0, "highlight").visible, part(1, "stripe").visible], ["Play scale", false, true])
        }

        function test_commit_data() {
            return [
                { tag: "Return, decimal comma", commit: "return", typed: "261,63", reference: 261.63, text: "261.63" },
                { tag: "Return, letters revert", commit: "return", typed: "abc", reference: 440, text: "440" },
                { tag: "stepper after typing", commit: "stepper", typed: "300", reference: 301, text: "301" },
                { tag: "another tool is chosen", commit: "switch", typed: "300", reference: 300, text: "300" }
            ]
        }
        function test_commit(data) {
            mouseClick(findChild(view, "playButton"))
            const field = findChild(view, "referenceField")
            typeInto(field, data.typed)
            if (data.commit === "return")
                keyClick(Qt.Key_Return)
            else if (data.commit === "stepper")
                mouseClick(findChild(findChild(view, "referenceStepper"), "stepUp"))
            else
                host.active = false
            compare([calculator.tetReference, calculator.tetReferenceText], [data.reference, data.text])
            compare(calculator.tetPlaying, host.active) // leaving also stops the scale
            if (host.active)
                compare(field.text, data.text)
        }

        function test_formulaStrip() {
            verify(findItem(view, item => item.text === "f(k) = f₀ × 2^(k/N)   ·   step = 1200/N ¢   ·   equal intervals are equal ratios, not equal Hz   ·   click a row to hear it"))
        }
    }
}
