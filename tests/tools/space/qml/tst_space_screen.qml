import QtQuick
import QtTest
import Morvela
import MorvelaTest

// The figures are proven in tst_reverbdelay; this checks that the screen shows each of them
// in its place, copies it with its own feedback and follows the tempo controls and the
// pickers. Also run under de_DE.UTF-8: every figure keeps its decimal point.
Item {
    width: 960
    height: 1400

    ScreenTestCase {
        id: testCase
        name: "SpaceScreen"
        screen: Component {
            ReverbDelayView {
                calculator: testCase.calculator
                accent: MorvelaTheme.dusk
            }
        }

        readonly property var columns: ["preDelay", "decay", "total"]
        readonly property var tiles: ["customPreDelay", "customDecay", "customTotal"]

        function metric(label) {
            return findItems(view, item => item.metric !== undefined && item.metric.label === label)[0]
        }

        function cell(row, column) {
            return findChild(findChild(view, "presetRow" + row), column)
        }

        // Everything the screen shows for the tempo, in reading order: header, table, tiles, chips.
        function figures() {
            const shown = ["Bar", "Beat", "Pre 1/64"].map(label => metric(label).metric.value)
            for (let row = 0; row < 5; ++row)
                for (const column of columns)
                    shown.push(findChild(cell(row, column), "face").text)
            for (const tile of tiles)
                shown.push(findChild(findChild(view, tile), "face").text)
            for (let i = 0; i < 7; ++i)
                shown.push(findChild(findChild(view, "pick" + i), "face").text)
            return shown
        }

        // Names and subtitles (the times are proven in tst_reverbdelay) and the screen's notes.
        function test_presetRowsAndNotes() {
            const texts = findItems(view.contentItem, item => item.text !== undefined).map(item => item.text)
            verify(texts.includes("bar = 240000 / BPM   ·   pre-delay = bar / N   ·   decay = total − pre-delay   ·   click a value to copy"))
            verify(texts.includes("Slapback: 60–120 ms, not tempo-synced · dotted echoes groove against the grid"))
            const rows = [0, 1, 2, 3, 4].map(index => findChild(view, "presetRow" + index))
            compare(rows.map(row => findChild(row, "name").text + " | " + findChild(row, "subtitle").text), [
                "Tight Ambience | drums, percussion · ¼ bar · pre 1/256",
                "Small Room | guitars, keys · ½ bar · pre 1/128",
                "Medium Room | vocals, snare · 1 bar · pre 1/64",
                "Large Hall | ballad vocals, pads · 2 bars · pre 1/32",
                "Epic Wash | ambient, cinematic · 4 bars · pre 1/16"
            ])
        }

        // Typing a tempo into the embedded controls moves every figure at once; at 100 BPM a bar
        // is 2400 ms, which makes halfway cases (9.375, 18.75) of their own.
        function test_tempoControlsDriveEveryFigure() {
            typeInto(findChild(view, "bpmField"), "100")
            keyClick(Qt.Key_Return)
            compare(calculator.bpm, 100)
            compare(figures(), [
                "2400.0 ms", "600.0 ms", "37.5 ms",
                "9.4 ms", "590.6 ms", "600.0 ms",
                "18.8 ms", "1181.2 ms", "1200.0 ms",
                "37.5 ms", "2362.5 ms", "2400.0 ms",
                "75.0 ms", "4725.0 ms", "4800.0 ms",
                "150.0 ms", "9450.0 ms", "9600.0 ms",
                "37.5 ms", "2362.5 ms", "2400.0 ms",
                "600.0 ms", "450.0 ms", "300.0 ms", "200.0 ms", "225.0 ms", "150.0 ms", "75.0 ms"
            ])
        }

        // Space on this screen taps the tempo (the tap arithmetic is proven with the tempo controls).
        function test_spaceTapsTheTempo() {
            TestServices.driveTapClock(findChild(view, "bpmControlsController"))
            calculator.bpm = 90
            keyClick(Qt.Key_Space)
            compare(calculator.bpm, 90)
            TestServices.advance(500)
            keyClick(Qt.Key_Space)
            compare(calculator.bpm, 120)
            compare(metric("Bar").metric.value, "2000.0 ms")
        }

        // Only the clicked cell shows the feedback; it outlives a change of tempo.
        function test_copyLargeHallDecay() {
            const before = figures()
            const decay = cell(3, "decay")
            const face = findChild(decay, "face")
            mouseClick(decay)
            compare(TestServices.clipboardText(), "3937.5")
            compare(face.text, "Copied")
            compareColor(face.color, MorvelaTheme.dusk)
            const after = figures()
            const copiedAt = 3 + 3 * 3 + 1
            for (let i = 0; i < before.length; ++i)
                compare(after[i], i === copiedAt ? "Copied" : before[i], "figure " + i)
            TestServices.advance(800)
            compare(face.text, "3937.5 ms")
            compareColor(face.color, MorvelaTheme.primaryText)
        }

        // Every copyable figure copies its bare number and says so in its tooltip.
        function test_tooltips() {
            const copyables = findItems(view, item => item.toolTipText !== undefined)
            compare(copyables.length, 3 + 15 + 3 + 7)
            for (const copyable of copyables) {
                verify(/^\d+\.\d$/.test(copyable.text), copyable.text)
                compare(copyable.toolTipText, "Copy " + copyable.text)
            }
            mouseClick(metric("Pre 1/64"))
            compare(TestServices.clipboardText(), "31.2")
        }

        function test_customPickers() {
            mouseClick(findChild(findChild(view, "totalBarsPicker"), "segment5"))
            compare(calculator.customTotalBars, 8)
            mouseClick(findChild(findChild(view, "preDivisionPicker"), "segment4"))
            compare(calculator.customPreDivision, 16)
            compare(tiles.map(tile => findChild(findChild(view, tile), "face").text),
                    ["125.0 ms", "15875.0 ms", "16000.0 ms"])
        }

        // Only an edited state holds a pre-delay note of 0: the screen uses and marks 1/64.
        function test_preDivisionZeroFallsBack() {
            compare(findChild(view, "preDivisionPicker").currentIndex, 2)
            calculator.customPreDivision = 0
            compare(tiles.map(tile => findChild(findChild(view, tile), "face").text),
                    ["31.2 ms", "1968.8 ms", "2000.0 ms"])
            compare(findChild(view, "preDivisionPicker").currentIndex, 2)
        }

        function test_copiedFeedback_data() {
            return [
                { tag: "decay tile", item: "customDecay", line: "title", idle: "Decay", copied: "1968.8",
                  tint: MorvelaTheme.dusk },
                { tag: "1/8T chip", item: "pick3", line: "label", idle: "1/8T", copied: "166.7",
                  tint: MorvelaTheme.teal }
            ]
        }
        // A tile or chip keeps its number and says "Copied" in its title line; its hairline
        // takes the tint.
        function test_copiedFeedback(data) {
            const item = findChild(view, data.item)
            const line = findChild(item, data.line)
            const face = findChild(item, "face")
            mouseClick(item)
            compare(TestServices.clipboardText(), data.copied)
            compare(line.text, "Copied")
            compareColor(line.color, data.tint)
            compareColor(item.background.border.color, Qt.alpha(data.tint, 0.7))
            compare(face.text, data.copied + " ms")
            compare(item.Accessible.name, "Copied")
            TestServices.advance(800)
            compare(line.text, data.idle)
            compareColor(item.background.border.color, MorvelaTheme.hairline)
        }
    }
}
