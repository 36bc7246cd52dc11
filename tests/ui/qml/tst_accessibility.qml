import QtQuick
import QtTest
import Morvela
import MorvelaTest

// What a screen reader hears of a tool screen, through Qt's accessibility interfaces: headings
// by their visible text, meaningful captions as text, and a copied value's confirmation.
Item {
    id: root
    width: 960
    height: 1100

    CalculatorState {
        id: calculator
    }
    BPMView {
        id: view
        anchors.fill: parent
        calculator: calculator
    }

    SegmentedPicker {
        id: picker
        y: 1050
        options: [{ label: "1/4", value: 4 }, { label: "1/8", value: 8 }]
        currentValue: 8
        accessibleName: "Step length"
        onActivated: value => currentValue = value
    }

    TestCase {
        name: "Accessibility"
        when: windowShown

        function items(item, matches, found) {
            if (matches(item))
                found.push(item)
            for (let i = 0; i < item.children.length; ++i)
                items(item.children[i], matches, found)
            return found
        }
        function named(role) {
            return items(view, item => TestServices.accessible(item).role === role, [])
                .map(item => TestServices.accessible(item).name)
        }

        function test_headingsReadTheirText() {
            compare(named("heading").sort(), ["BPM to Milliseconds", "Subdivision Matrix", "Tempo Control"])
        }

        function test_captionsAreText() {
            const texts = named("statictext")
            for (const caption of ["20 · Slow", "400 · Fast", "Space"])
                verify(texts.indexOf(caption) >= 0, caption)
        }

        function test_segmentsAreRadioButtons() {
            const first = findChild(picker, "segment0")
            const second = findChild(picker, "segment1")
            compare(TestServices.accessible(first).role, "radiobutton")
            compare([TestServices.accessible(first).name, TestServices.accessible(first).checked,
                     TestServices.accessible(second).checked], ["1/4", false, true])
            mouseClick(first)
            compare([TestServices.accessible(first).checked, TestServices.accessible(second).checked], [true, false])
        }

        function test_copiedValueSaysSo() {
            const cell = findChild(findChild(view, "matrixRow2"), "straight")
            compare(TestServices.accessible(cell).name, "500.00 ms")
            mouseClick(cell)
            compare(TestServices.accessible(cell).name, "Copied")
            TestServices.advance(799)
            compare(TestServices.accessible(cell).name, "Copied")
            TestServices.advance(1)
            compare(TestServices.accessible(cell).name, "500.00 ms")
        }
    }
}
