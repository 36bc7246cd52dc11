import QtQuick
import QtTest
import Morvela
import MorvelaTest
import SpaceTest

// The figures are proven in tst_reverbdelay; this checks that the screen shows each of them
// in its place, copies it with its own feedback and follows the tempo controls and the
// pickers. Also run under de_DE.UTF-8: every figure keeps its decimal point.
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
            sourceComponent: ReverbDelayView {
                calculator: loader.calculatorState
                accent: MorvelaTheme.dusk
            }
        }
    }

    TestCase {
        name: "SpaceScreen"
        when: windowShown

        property CalculatorState calculator
        property Loader host
        property Item view

        readonly property var columns: ["preDelay", "decay", "total"]
        readonly property var tiles: ["customPreDelay", "customDecay", "customTotal"]

        function init() {
            calculator = createTemporaryObject(stateComponent, root)
            host = createTemporaryObject(hostComponent, root, { calculatorState: calculator })
            view = host.item
            waitForRendering(view)
            TapClock.drive(findChild(view, "bpmControlsController"))
            TestServices.clearClipboard()
        }

        function findItems(item, matches, found) {
            found = found ?? []
            if (matches(item))
                found.push(item)
            for (let i = 0; i < item.children.length; ++i)
                findItems(item.children[i], matches, found)
            return found
        }

        function metric(label) {
            return findItems(view, item => item.metric !== undefined && item.metric.label === label)[0]
        }

        function cell(row, column) {
            return findChild(findChild(view, "presetRow" + row), column)
        }

        function compareColor(actual, expected) {
            compare(String(actual), String(expected))
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

        function test_header_data() {
            return [
                { tag: "bar", label: "Bar", value: "2000.0 ms", copied: "2000.0", tint: MorvelaTheme.dusk },
                { tag: "beat", label: "Beat", value: "500.0 ms", copied: "500.0", tint: MorvelaTheme.saffron },
                { tag: "pre 1/64, halfway to even", label: "Pre 1/64", value: "31.2 ms", copied: "31.2",
                  tint: MorvelaTheme.teal }
            ]
        }
        function test_header(data) {
            const tile = metric(data.label)
            compare(tile.metric.value, data.value)
            compareColor(tile.tint, data.tint)
            mouseClick(tile)
            compare(TestServices.clipboardText(), data.copied)
        }

        function test_presetRows_data() {
            return [
                { tag: "Tight Ambience", name: "Tight Ambience", subtitle: "drums, percussion · ¼ bar · pre 1/256",
                  times: ["7.8 ms", "492.2 ms", "500.0 ms"] },
                { tag: "Small Room", name: "Small Room", subtitle: "guitars, keys · ½ bar · pre 1/128",
                  times: ["15.6 ms", "984.4 ms", "1000.0 ms"] },
                { tag: "Medium Room", name: "Medium Room", subtitle: "vocals, snare · 1 bar · pre 1/64",
                  times: ["31.2 ms", "1968.8 ms", "2000.0 ms"] },
                { tag: "Large Hall", name: "Large Hall", subtitle: "ballad vocals, pads · 2 bars · pre 1/32",
                  times: ["62.5 ms", "3937.5 ms", "4000.0 ms"] },
                { tag: "Epic Wash", name: "Epic Wash", subtitle: "ambient, cinematic · 4 bars · pre 1/16",
                  times: ["125.0 ms", "7875.0 ms", "8000.0 ms"] }
            ]
        }
        function test_presetRows(data) {
            const index = test_presetRows_data().findIndex(row => row.tag === data.tag)
            const row = findChild(view, "presetRow" + index)
            compare(findChild(row, "name").text, data.name)
            compare(findChild(row, "subtitle").text, data.subtitle)
            compare(columns.map(column => findChild(cell(index, column), "face").text), data.times)
            compare(findChild(row, "stripe").visible, index === 1 || index === 3)
            // The decay stands out: bold, full primary colour.
            compare(columns.map(column => findChild(cell(index, column), "face").font.bold), [false, true, false])
        }

        // One strong divider under the header, then one between each pair of rows.
        function test_tableDividers() {
            const table = findChild(view, "presetRow0").parent
            const dividers = findItems(table, item => item.strong !== undefined && item.visible)
            compare(dividers.map(divider => divider.strong), [true, false, false, false, false])
        }

        // Typing a tempo into the embedded controls moves every figure at once; at 100 BPM a bar
        // is 2400 ms, which makes halfway cases (9.375, 18.75) of their own.
        function test_tempoControlsDriveEveryFigure() {
            const field = findChild(view, "bpmField")
            field.input.forceActiveFocus()
            field.input.selectAll()
            for (const character of "100")
                keyClick(character)
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

        function test_tempoBeyondTheBarRangeIsHeld() {
            calculator.bpm = 500
            const fast = figures()
            calculator.bpm = 400
            compare(figures(), fast)
            calculator.bpm = 10
            const slow = figures()
            calculator.bpm = 20
            compare(figures(), slow)
            compare(slow[0], "12000.0 ms")
        }

        function test_spaceTapsTheTempo() {
            calculator.bpm = 90
            keyClick(Qt.Key_Space)
            TapClock.advance(500)
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
            TestServices.advance(799)
            compare(face.text, "Copied")
            TestServices.advance(1)
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
        }

        function test_customPickers() {
            mouseClick(findChild(findChild(view, "totalBarsPicker"), "segment5"))
            compare(calculator.customTotalBars, 8)
            mouseClick(findChild(findChild(view, "preDivisionPicker"), "segment4"))
            compare(calculator.customPreDivision, 16)
            compare(tiles.map(tile => findChild(findChild(view, tile), "face").text),
                    ["125.0 ms", "15875.0 ms", "16000.0 ms"])
            compare(tiles.map(tile => findChild(findChild(view, tile), "face").font.weight),
                    [Font.DemiBold, Font.Bold, Font.DemiBold])
            mouseClick(findChild(findChild(view, "totalBarsPicker"), "segment0"))
            compare(calculator.customTotalBars, 0.25)
            compare(findChild(findChild(view, "customDecay"), "face").text, "375.0 ms")
        }

        function test_pickerLabels() {
            const labels = picker => {
                const shown = []
                for (let i = 0; findChild(findChild(view, picker), "segment" + i); ++i)
                    shown.push(findChild(findChild(view, picker), "segment" + i).Accessible.name)
                return shown
            }
            compare(labels("totalBarsPicker"), ["¼", "½", "1", "2", "4", "8"])
            compare(labels("preDivisionPicker"), ["1/256", "1/128", "1/64", "1/32", "1/16"])
            compare(findChild(view, "totalBarsPicker").currentIndex, 2)
            compare(findChild(view, "preDivisionPicker").currentIndex, 2)
        }

        // Only an edited state holds a pre-delay note of 0: the screen uses and marks 1/64.
        function test_preDivisionZeroFallsBack() {
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

        function test_texts() {
            const texts = findItems(view.contentItem, item => item.text !== undefined).map(item => item.text)
            verify(texts.includes("bar = 240000 / BPM   ·   pre-delay = bar / N   ·   decay = total − pre-delay   ·   click a value to copy"))
            verify(texts.includes("Slapback: 60–120 ms, not tempo-synced · dotted echoes groove against the grid"))
            for (const title of ["Reverb Times", "Custom Space", "Delay Quick Picks", "Reverb & Delay Times",
                                 "TOTAL LENGTH", "PRE-DELAY NOTE", "bars", "of a bar",
                                 "Space", "Pre-delay", "Decay", "Total"])
                verify(texts.includes(title), title)
        }
    }
}
