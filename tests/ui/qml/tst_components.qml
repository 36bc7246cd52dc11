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
        id: panelComponent
        PremiumPanel {
            width: 300
            title: "Tempo Control"
            symbol: "slider.horizontal.3"
        }
    }

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
            const value = createTemporaryObject(copyableComponent, root)
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

        function test_panelFollowsTheAppearance() {
            const panel = createTemporaryObject(panelComponent, root)
            // Read as text, so that the light value is kept, not re-read.
            const light = String(panel.color)
            TestServices.setDark(true)
            fuzzyCompare(panel.color.r, 0.16, 0.005)
            fuzzyCompare(panel.color.b, 0.17, 0.005)
            fuzzyCompare(panel.color.a, 0.82, 0.005)
            TestServices.setDark(false)
            compare(String(panel.color), light)
        }
    }
}
