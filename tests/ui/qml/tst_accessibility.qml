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

        function named(role) {
            return TestServices.items(view).filter(item => TestServices.accessible(item).role === role)
                .map(item => TestServices.accessible(item).name)
        }

        function test_headingsAndCaptions() {
            compare(named("heading").sort(), ["BPM to Milliseconds", "Subdivision Matrix", "Tempo Control"])
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
    }
}
