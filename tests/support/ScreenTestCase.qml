import QtQuick
import QtTest
import Morvela
import MorvelaTest

// A test case hosting one tool screen the way the window does: a Loader that drops the screen
// when another tool is chosen (`host.active = false`). Before every test it makes a fresh
// CalculatorState, hosts the screen and clears the recorded clipboard and sounds. The suite names
// its screen with the calculator bound to this case's:
//     screen: Component { BPMView { calculator: testCase.calculator } }
TestCase {
    id: testCase
    when: windowShown

    property Component screen
    property CalculatorState calculator
    property Loader host
    property Item view

    Component {
        id: stateComponent
        CalculatorState {}
    }

    Component {
        id: hostComponent
        Loader {
            anchors.fill: parent
            sourceComponent: testCase.screen
        }
    }

    // A suite with more to prepare calls this first from its own init().
    function hostScreen() {
        calculator = createTemporaryObject(stateComponent, testCase)
        host = createTemporaryObject(hostComponent, testCase.parent)
        view = host.item
        waitForRendering(view)
        TestServices.clearClipboard()
        TestServices.clearSounds()
    }

    function init() {
        hostScreen()
    }

    // Every item under `item` (itself included) that `matches`, depth first.
    function findItems(item, matches) {
        return TestServices.items(item).filter(matches)
    }

    function findItem(item, matches) {
        return findItems(item, matches)[0] ?? null
    }

    // Replaces the text of a PremiumInputField by typing, without committing it.
    function typeInto(field, text) {
        field.input.forceActiveFocus()
        field.input.selectAll()
        for (const character of text)
            keyClick(character)
    }

    // Colours as drawn, 8 bits a channel (the theme's own carry more precision).
    function compareColor(actual, expected, message) {
        compare(String(actual), String(expected), message)
    }
}
