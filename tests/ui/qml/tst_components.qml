import QtQuick
import QtTest
import Morvela
import MorvelaTest

Item {
    id: root
    width: 900
    height: 600

    function findByText(item, text) {
        return TestServices.items(item).find(found => found.text === text && found.visible) ?? null
    }

    TestCase {
        name: "Components"
        when: windowShown

        function init() {
            TestServices.clearClipboard()
            TestServices.setDark(false)
        }

        // A click, Space, Return and a screen reader each copy once. Its timing (0.8 s from the
        // last click) is CopyFeedback's, tested with it.
        function test_everyWayOfCopyingCopiesAndTheFaceSaysCopied() {
            const value = createTemporaryQmlObject(`import QtQuick; import Morvela
                CopyableValue { id: value; width: 120; height: 30; text: "500.00"
                    Text { text: value.copied ? "Copied" : "500.00 ms" } }`, root)
            compare(value.toolTipText, "Copy 500.00")
            mouseClick(value)
            compare(TestServices.clipboardText(), "500.00")
            verify(findByText(value, "Copied"))
            TestServices.advance(800)
            verify(findByText(value, "500.00 ms"))
            value.forceActiveFocus()
            keyClick(Qt.Key_Space)
            keyClick(Qt.Key_Return)
            value.Accessible.pressAction()
            compare(TestServices.clipboardWrites(), 4)
        }

        function test_eyebrowIsUpperCaseButCopiedTextsKeepTheirCase() {
            const header = createTemporaryQmlObject(`import Morvela
                ToolHeader { width: 880; eyebrow: "Tempo Tool"; title: "BPM to Milliseconds"; symbol: "metronome"
                    tint: MorvelaTheme.saffron
                    metrics: [{ label: "Quarter", value: "500.00 ms", tint: MorvelaTheme.saffron, copy: "500.00" },
                              { label: "1/16 Hz", value: "8.00", tint: MorvelaTheme.teal }] }`, root)
            verify(findByText(header, "TEMPO TOOL"))
            verify(!findByText(header, "Tempo Tool"))
            verify(findByText(header, "BPM to Milliseconds"))
            verify(findByText(header, "1/16 Hz"))
        }

        // Beside three tiles, every tool's title is shown whole at the narrowest window (a header
        // 615 wide), the default one (675) and a wide one (1115), where it keeps one line at 34.
        function test_titlesAreNeverCut_data() {
            const titles = ["BPM to Milliseconds", "Euclidean Rhythms", "Reverb & Delay Times", "Note Frequencies",
                            "Octave Divisions", "Harmonic Series", "Circle of Fifths"]
            const rows = []
            for (const title of titles)
                for (const width of [615, 675, 1115])
                    rows.push({ tag: title + " at " + width, title: title, width: width })
            return rows
        }
        function test_titlesAreNeverCut(data) {
            const header = createTemporaryQmlObject(`import Morvela
                ToolHeader { width: ${data.width}; eyebrow: "Tool"; title: "${data.title}"; symbol: "metronome"
                    metrics: [{ label: "Quarter", value: "500.00 ms", tint: "red" },
                              { label: "1/8 dotted", value: "375.00 ms", tint: "red" },
                              { label: "1/16 Hz", value: "8.00", tint: "red" }] }`, root)
            waitForRendering(header)
            const title = findByText(header, data.title)
            verify(!title.truncated, "cut at " + title.font.pixelSize)
            verify(title.lineCount <= 2)
            verify(title.font.pixelSize >= 20)
            if (data.width === 1115) {
                compare(title.lineCount, 1)
                compare(title.font.pixelSize, 34)
            }
        }

        // Without a suffix there is no unit and no gap; Return submits; the focus is exposed.
        function test_field() {
            const field = createTemporaryQmlObject(`import Morvela; PremiumInputField { title: "BPM" }`, root)
            let submitted = 0
            field.submitted.connect(() => submitted++)
            compare(field.input.width, 132)
            verify(!field.fieldFocused)
            mouseClick(field, field.width - 4, field.height - 4) // the box's margin, beside the text
            verify(field.fieldFocused)
            keyClick(Qt.Key_1)
            keyClick(Qt.Key_2)
            compare(field.text, "12")
            compare(submitted, 0)
            keyClick(Qt.Key_Return)
            compare(submitted, 1)
            field.suffix = "Hz"
            verify(findByText(field, "Hz"))
            verify(field.input.width < 132 - 8)
        }

        function test_formulaStripIgnoresClicks() {
            const area = createTemporaryQmlObject(`import QtQuick; import Morvela
                MouseArea { property int clicks: 0; width: 400; height: 100; onClicked: clicks++
                    FormulaStrip { anchors.fill: parent; text: "Straight = 60000 / BPM" } }`, root)
            mouseClick(area, 200, 50)
            compare(area.clicks, 1)
        }

        function test_panelFollowsTheAppearance() {
            const panel = createTemporaryQmlObject(
                `import Morvela; PremiumPanel { width: 300; title: "Tempo Control"; symbol: "slider.horizontal.3" }`, root)
            // Read as text, so that the light value is kept, not re-read.
            const light = String(panel.color)
            TestServices.setDark(true)
            fuzzyCompare(panel.color.r, 0.16, 0.005)
            fuzzyCompare(panel.color.b, 0.17, 0.005)
            fuzzyCompare(panel.color.a, 0.82, 0.005)
            TestServices.setDark(false)
            compare(String(panel.color), light)
        }

        // Lines from (x, h) to (x + h, 0) for x = -h, -h + 92, ... while x < w: 45° rising to the
        // right, 92 apart, covering the backdrop at every size.
        function test_hairlinesCoverEverySize_data() {
            return [
                { tag: "default window", w: 960, h: 720 },
                { tag: "minimum window", w: 900, h: 680 },
                { tag: "wide", w: 2560, h: 700 },
                { tag: "tall", w: 900, h: 1600 },
                { tag: "exact multiple", w: 920, h: 92 }
            ]
        }
        function test_hairlinesCoverEverySize(data) {
            const backdrop = createTemporaryQmlObject(`import Morvela; PremiumBackdrop { width: ${data.w}; height: ${data.h} }`, root)
            const lines = TestServices.items(backdrop).filter(item => item.objectName === "" && item.rotation === -45)
            verify(lines.length > 0)
            compare(lines.length, backdrop.lineCount)
            for (let i = 0; i < lines.length; ++i) {
                const start = lines[i].mapToItem(backdrop, 0, 0.5)
                const end = lines[i].mapToItem(backdrop, lines[i].width, 0.5)
                fuzzyCompare(start.x, -data.h + 92 * i, 1e-6)
                fuzzyCompare(start.y, data.h, 1e-6)
                fuzzyCompare(end.x - start.x, data.h, 1e-6)
                fuzzyCompare(end.y, 0, 1e-6)
            }
            const last = -data.h + 92 * (lines.length - 1)
            verify(last < data.w)
            verify(last + 92 >= data.w)
        }
    }
}