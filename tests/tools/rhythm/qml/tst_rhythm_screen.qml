import QtQuick
import QtTest
import Morvela
import MorvelaTest

// The pattern arithmetic is proven in tst_euclid and the loop in tst_euclideanrhythmcontroller;
// this checks what the screen shows, that every control reaches the controller, and that the
// loop ends with the screen.
Item {
    width: 1060
    height: 900

    ScreenTestCase {
        id: testCase
        name: "RhythmScreen"
        screen: Component {
            EuclideanRhythmView {
                calculator: testCase.calculator
                accent: MorvelaTheme.fern
            }
        }
        function wheel() {
            return findChild(view, "wheel")
        }
        function dot(step) {
            return findChild(wheel(), "dot" + step)
        }
        function playButton() {
            return findChild(view, "playButton")
        }
        // Where an item's centre is, in the wheel's coordinates.
        function centreInWheel(item) {
            return item.mapToItem(wheel(), item.width / 2, item.height / 2)
        }
        function clickFrequencies() {
            const heard = []
            for (let i = 0; i < TestServices.soundCount(); ++i)
                heard.push(TestServices.soundAt(i).frequency)
            TestServices.clearSounds()
            return heard
        }

        // Each header figure copies its bare number.
        function test_header() {
            const tiles = findItems(view, item => item.metric !== undefined)
            compare(tiles.map(tile => tile.metric.label + " " + tile.metric.value),
                    ["Pattern E(3,8)", "Step 1/16 125.0 ms", "Cycle 1000 ms"])
            compare(tiles.map(tile => { mouseClick(tile); return TestServices.clipboardText() }),
                    ["E(3,8)", "125.0", "1000"])
        }

        function test_defaultWheel() {
            compare(findChild(wheel(), "badgeTitle").text, "E(3,8)")
            compare(findChild(wheel(), "badgeSubtitle").text, "1/16 · 125.0 ms")
            compare(wheel().Accessible.name, "E(3,8): x..x..x.")
            const names = []
            for (let step = 0; step < 8; ++step)
                names.push(dot(step).Accessible.name)
            compare(names, ["Step 1, hit", "Step 2, rest", "Step 3, rest", "Step 4, hit", "Step 5, rest",
                            "Step 6, rest", "Step 7, hit", "Step 8, rest"])
            verify(findChild(wheel(), "hitPolygon").visible)
            verify(!findChild(wheel(), "currentRing").visible)
            calculator.bpm = 99.9
            compare(findChild(view, "tempoCaption").text, "99 BPM from the Tempo tab")
            const strip = "E(k, n) spreads k hits as evenly as possible across n steps   ·   Tresillo = E(3,8)   ·   Bembé = E(7,12)"
            verify(findItem(view.contentItem, item => item.text === strip) !== null)
        }

        // The ring walks clockwise from the top, one dot per step; a sounding hit grows.
        function test_playing() {
            mouseClick(playButton())
            compare(playButton().text, "Stop")
            const ring = findChild(wheel(), "currentRing")
            for (let step = 0; step < 4; ++step) {
                const at = centreInWheel(ring)
                const expected = centreInWheel(dot(step))
                fuzzyCompare(at.x, expected.x, 0.01)
                fuzzyCompare(at.y, expected.y, 0.01)
                compare(dot(step).scale, [0, 3].includes(step) ? 1.12 : 1)
                verify(dot(step).Accessible.selected)
                TestServices.advance(125)
            }
            mouseClick(playButton())
            compare(playButton().text, "Play")
            verify(!ring.visible)
        }

        // A new note value restarts the loop at step 0; leaving the screen stops it.
        function test_noteChangeRestartsAndLeavingStops() {
            mouseClick(playButton())
            TestServices.advance(250)
            TestServices.clearSounds()
            mouseClick(findChild(findChild(view, "notePicker"), "segment1"))
            compare(calculator.euclidStep, 0)
            TestServices.advance(249)
            compare(clickFrequencies(), [1760])
            TestServices.advance(1)
            compare(calculator.euclidStep, 1)
            host.active = false
            compare(calculator.euclidPlaying, false)
            compare(calculator.euclidStep, undefined)
            TestServices.clearSounds()
            TestServices.advance(1000)
            compare(TestServices.soundCount(), 0)
        }

        // A preset chosen from the menu; the dots follow the step count.
        function test_presetFromTheMenu() {
            const presets = findChild(view, "presetsButton")
            mouseClick(presets)
            const menu = findChild(presets, "menu")
            tryCompare(menu, "opened", true)
            mouseClick(findChild(menu.contentItem, "entry3"))
            compare([calculator.euclidSteps, calculator.euclidPulses, calculator.euclidRotation], [16, 5, 0])
            compare(dot(15).width, 26)
            compare(dot(16), null)
        }

        // Tab reaches the wheel, the arrows walk round it and Space or Return sounds the step.
        function test_wheelKeyboard() {
            wheel().forceActiveFocus()
            keyClick(Qt.Key_Left)
            verify(dot(7).activeFocus)
            keyClick(Qt.Key_Space)
            keyClick(Qt.Key_Right)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Return)
            compare(clickFrequencies(), [1175, 1175])
            compare(calculator.euclidPlaying, false)
        }
    }
}
