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

        // A stepper reads as a spin box and a slider as a slider, each with the figure it changes
        // and that figure's range; a screen reader's Increase and Decrease change the state as the
        // arrow keys do, within that range (a slider from where it stands).
        function test_steppersAndSlidersReadTheirFigure_data() {
            return [
                { tag: "tempo", view: "BPMView", path: ["bpmStepper"], key: "bpm", value: 120, range: [20, 400],
                  action: "Increase", after: 121 },
                { tag: "A4", view: "NoteFrequencyView", path: ["a4Stepper"], key: "a4", value: 440,
                  range: [400, 480], action: "Decrease", after: 439 },
                { tag: "reference", view: "TemperamentView", path: ["referenceStepper"], key: "tetReference",
                  value: 440, range: [20, 2000], action: "Increase", after: 441 },
                { tag: "divisions", view: "TemperamentView", path: ["divisionsStepper"], key: "tetDivisions",
                  value: 12, range: [1, 53], action: "Increase", after: 13 },
                { tag: "steps", view: "EuclideanRhythmView", path: ["stepsRow", "stepper"], key: "euclidSteps",
                  value: 8, range: [1, 16], action: "Decrease", after: 7 },
                { tag: "pulses", view: "EuclideanRhythmView", path: ["pulsesRow", "stepper"], key: "euclidPulses",
                  value: 3, range: [0, 8], action: "Increase", after: 4 },
                { tag: "rotation at its lowest", view: "EuclideanRhythmView", path: ["rotationRow", "stepper"],
                  key: "euclidRotation", value: 0, range: [0, 7], action: "Decrease", after: 0 },
                { tag: "tempo slider", view: "BPMView", path: ["bpmSlider"], role: "slider", key: "bpm", value: 120,
                  range: [20, 400], action: "Decrease", after: 119 },
                { tag: "tempo slider at the top", view: "BPMView", path: ["bpmSlider"], role: "slider", key: "bpm",
                  start: 400, value: 400, range: [20, 400], action: "Increase", after: 400 },
                { tag: "tempo slider from a typed tempo beyond it", view: "BPMView", path: ["bpmSlider"],
                  role: "slider", key: "bpm", start: 999, value: 400, range: [20, 400], action: "Decrease", after: 399 }
            ]
        }
        function test_steppersAndSlidersReadTheirFigure(data) {
            const state = createTemporaryQmlObject("import Morvela; CalculatorState {}", root)
            if (data.start !== undefined)
                state[data.key] = data.start
            const screen = createTemporaryQmlObject(`import Morvela; ${data.view} { width: 960; height: 1000 }`, root)
            screen.calculator = state
            const control = data.path.reduce((item, name) => findChild(item, name), screen)
            const read = () => TestServices.accessible(control)
            compare([read().role, read().value, read().minimum, read().maximum],
                    [data.role ?? "spinbox", data.value, data.range[0], data.range[1]])
            verify(TestServices.doAccessibleAction(control, data.action))
            compare(state[data.key], data.after)
            compare(read().value, data.after)
        }

        // An entry of a menu is chosen by a screen reader's press as by a click, and the menu closes.
        function test_menuEntriesAnswerPress() {
            const button = createTemporaryQmlObject(`import Morvela
                MenuButton { y: 1000; text: "Presets"; entries: ["One", "Two"]; property int choice: -1
                             onChosen: index => choice = index }`, root)
            verify(TestServices.doAccessibleAction(button, "Press"))
            const menu = findChild(button, "menu")
            tryVerify(() => menu.opened)
            const entry = findChild(menu.contentItem, "entry1")
            verify(TestServices.accessible(entry).actions.indexOf("Press") >= 0)
            verify(TestServices.doAccessibleAction(entry, "Press"))
            compare(button.choice, 1)
            tryVerify(() => !menu.visible)
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
