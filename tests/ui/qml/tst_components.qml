import QtQuick
import QtTest
import Morvela
import MorvelaTest

Item {
    id: root
    width: 900
    height: 600

    Component {
        id: copyableComponent
        CopyableValue {
            id: value
            width: 120
            height: 30
            text: "500.00"
            Text {
                objectName: "face"
                text: value.copied ? "Copied" : "500.00 ms"
            }
        }
    }
    Component {
        id: headerComponent
        ToolHeader {
            width: 880
            eyebrow: "Tempo Tool"
            title: "BPM to Milliseconds"
            symbol: "metronome"
            tint: MorvelaTheme.saffron
            metrics: [
                { label: "Quarter", value: "500.00 ms", tint: MorvelaTheme.saffron, copy: "500.00" },
                { label: "1/16 Hz", value: "8.00", tint: MorvelaTheme.teal }
            ]
        }
    }
    Component {
        id: fieldComponent
        PremiumInputField {
            title: "BPM"
        }
    }
    Component {
        id: stripUnderMouseArea
        MouseArea {
            property int clicks: 0
            width: 400
            height: 100
            onClicked: clicks++
            FormulaStrip {
                anchors.fill: parent
                text: "Straight = 60000 / BPM"
            }
        }
    }
    Component {
        id: surfacesComponent
        Column {
            property alias card: panel
            property alias strip: strip
            PremiumPanel {
                id: panel
                width: 300
                title: "Tempo Control"
                symbol: "slider.horizontal.3"
            }
            FormulaStrip {
                id: strip
                width: 300
                text: "x"
            }
        }
    }

    function findByText(item, text) {
        if (item.text === text && item.visible)
            return item
        for (let i = 0; i < item.children.length; ++i) {
            const found = findByText(item.children[i], text)
            if (found)
                return found
        }
        return null
    }

    TestCase {
        name: "Components"
        when: windowShown

        function init() {
            TestServices.clearClipboard()
            TestServices.setDark(false)
        }

        function test_copyFeedbackLastsUntil800msAfterTheLastClick() {
            const value = createTemporaryObject(copyableComponent, root)
            mouseClick(value)
            compare(TestServices.clipboardText(), "500.00")
            verify(value.copied)
            verify(findByText(value, "Copied"))
            TestServices.advance(500)
            mouseClick(value)
            TestServices.advance(799)
            verify(value.copied)
            TestServices.advance(1)
            verify(!value.copied)
            verify(findByText(value, "500.00 ms"))
            compare(TestServices.clipboardWrites(), 2)
            compare(TestServices.clipboardText(), "500.00")
            compare(value.toolTipText, "Copy 500.00")
        }

        function test_copyFromTheKeyboardAndScreenReader() {
            const value = createTemporaryObject(copyableComponent, root)
            value.forceActiveFocus()
            keyClick(Qt.Key_Space)
            compare(TestServices.clipboardWrites(), 1)
            keyClick(Qt.Key_Return)
            compare(TestServices.clipboardWrites(), 2)
            value.Accessible.pressAction()
            compare(TestServices.clipboardWrites(), 3)
        }

        function test_metricTileCopiesItsCopyText() {
            const header = createTemporaryObject(headerComponent, root)
            const quarter = findByText(header, "500.00 ms")
            verify(quarter)
            mouseClick(quarter)
            compare(TestServices.clipboardText(), "500.00")
            verify(findByText(header, "Copied"))
            TestServices.advance(800)
            const rate = findByText(header, "8.00")
            mouseClick(rate)
            compare(TestServices.clipboardText(), "8.00")
            TestServices.advance(800)
        }

        function test_eyebrowIsUpperCaseButCopiedTextsKeepTheirCase() {
            const header = createTemporaryObject(headerComponent, root)
            verify(findByText(header, "TEMPO TOOL"))
            verify(!findByText(header, "Tempo Tool"))
            verify(findByText(header, "BPM to Milliseconds"))
            verify(findByText(header, "1/16 Hz"))
        }

        function test_fieldWithoutSuffixHasNoUnitAndNoGap() {
            const field = createTemporaryObject(fieldComponent, root)
            compare(field.input.width, 132)
            field.suffix = "Hz"
            verify(findByText(field, "Hz"))
            verify(field.input.width < 132 - 8)
        }

        function test_fieldSubmitsOnReturnAndExposesFocus() {
            const field = createTemporaryObject(fieldComponent, root)
            let submitted = 0
            field.submitted.connect(() => submitted++)
            verify(!field.fieldFocused)
            field.input.forceActiveFocus()
            verify(field.fieldFocused)
            keyClick(Qt.Key_1)
            keyClick(Qt.Key_2)
            compare(field.text, "12")
            compare(submitted, 0)
            keyClick(Qt.Key_Return)
            compare(submitted, 1)
        }

        function test_formulaStripIgnoresClicks() {
            const area = createTemporaryObject(stripUnderMouseArea, root)
            mouseClick(area, 200, 50)
            compare(area.clicks, 1)
        }

        function test_appearanceChangesEverySurface() {
            const surfaces = createTemporaryObject(surfacesComponent, root)
            // Colours read as text, so that the light values are kept, not re-read.
            const lightCard = String(surfaces.card.color)
            const lightStrip = String(surfaces.strip.color)
            const lightBorder = String(surfaces.card.border.color)
            TestServices.setDark(true)
            verify(String(surfaces.card.color) !== lightCard)
            verify(String(surfaces.strip.color) !== lightStrip)
            verify(String(surfaces.card.border.color) !== lightBorder)
            fuzzyCompare(surfaces.card.color.r, 0.16, 0.005)
            fuzzyCompare(surfaces.card.color.b, 0.17, 0.005)
            fuzzyCompare(surfaces.card.color.a, 0.82, 0.005)
            TestServices.setDark(false)
            compare(String(surfaces.card.color), lightCard)
        }
    }
}
