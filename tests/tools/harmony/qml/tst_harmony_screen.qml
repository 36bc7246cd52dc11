import QtQuick
import QtTest
import Morvela
import MorvelaTest

// The key model is proven in tst_circleoffifths and the selection rules in
// tst_circleoffifthscontroller; this checks that the screen shows them, routes pointer,
// keyboard and screen-reader input, and copies plain text.
Item {
    id: root
    width: 960
    height: 1400

    ScreenTestCase {
        id: testCase
        name: "HarmonyScreen"
        screen: Component {
            CircleOfFifthsView {
                calculator: testCase.calculator
                accent: MorvelaTheme.lacquer
            }
        }

        property CircleOfFifthsController controller

        function init() {
            hostScreen()
            controller = view.controller
            controller.select(0, false)
            TestServices.clearSounds()
        }

        function tile(label) {
            return findItem(view, item => item.metric !== undefined && item.metric.label === label)
        }

        function wheel() {
            return findChild(view, "fifthsWheel")
        }

        function segment(id) {
            return findChild(wheel(), id)
        }

        // A point on the wheel, `rho` of its radius out and `fromTop` degrees clockwise from the top.
        function clickWheel(rho, fromTop) {
            const w = wheel()
            const a = (fromTop - 90) * Math.PI / 180
            mouseClick(w, w.width / 2 + Math.cos(a) * rho * w.width / 2, w.height / 2 + Math.sin(a) * rho * w.height / 2)
        }

        function test_freshScreen() {
            compare([tile("Key").metric.value, tile("Signature").metric.value, tile("Relative").metric.value],
                    ["C", "0", "Am"])
            compare([findChild(view, "badgeKey").text, findChild(view, "badgeMode").text,
                     findChild(view, "badgeSignature").text], ["C", "major", "0"])
            tryCompare(segment("maj-0"), "fillColor", MorvelaTheme.lacquer)
            compare(findChild(view, "signatureNotes").text, "no accidentals")
            compare(segment("maj-0").Accessible.checked, true)
            const s = segment("min-3")
            compare(s.Accessible.role, Accessible.RadioButton)
            compare(s.Accessible.name, "F♯ minor")
            compare(s.Accessible.checked, false)
            const strip = "Clockwise = +1♯ (dominant)   ·   Counter-clockwise = +1♭ (subdominant)   ·   Inner ring = relative minor"
            verify(findItem(view.contentItem, item => item.text === strip) !== null)
        }

        function test_clickInnerSegment() {
            clickWheel(0.6, 90)
            compare(controller.keyName, "F♯m")
            compare([findChild(view, "badgeKey").text, findChild(view, "badgeMode").text,
                     findChild(view, "badgeSignature").text], ["F♯m", "minor", "3♯"])
            compare(findChild(view, "longName").text, "F♯ minor")
            // Which chord a selection sounds is tst_circleoffifthscontroller's.
            compare(TestServices.soundCount(), 1)
            // The selected segment sounds again when clicked again; a click on a gap does nothing.
            clickWheel(0.6, 90)
            clickWheel(0.85, 14.5)
            compare(TestServices.soundCount(), 2)
            compare(controller.keyName, "F♯m")
        }

        // Hover tints a segment outside the key family from the pointer's first move on.
        function test_hover() {
            const w = wheel()
            mouseMove(w, w.width * 0.5 + w.width * 0.42 * Math.cos(Math.PI / 6), w.height * 0.5 + w.height * 0.42 * Math.sin(Math.PI / 6))
            compare(controller.hoveredSegment, "maj-4")
            tryCompare(segment("maj-4"), "fillColor", Qt.alpha(MorvelaTheme.lacquer, 0.12))
            mouseMove(root, 1, 1)
            compare(controller.hoveredSegment, "")
        }

        // D♭ major: the header and the scale chips copy plain text.
        function test_copiesPlainText() {
            controller.select(7, false)
            mouseClick(tile("Key"))
            compare(TestServices.clipboardText(), "Db")
            mouseClick(tile("Relative"))
            compare(TestServices.clipboardText(), "Bbm")
            const chip = findChild(view, "scaleChip5")
            const face = findChild(chip, "face")
            compare(face.text, "B♭")
            mouseClick(chip)
            compare(TestServices.clipboardText(), "Bb")
            compare(face.text, "✓")
            compare(chip.Accessible.name, "Copied")
            TestServices.advance(800)
            compare(face.text, "B♭")
            compare(chip.Accessible.name, "B♭")
        }

        function test_chordCell() {
            controller.select(7, true)
            const cell = findChild(view, "chord0")
            compare(cell.Accessible.name, "B♭m, i")
            compare(cell.Accessible.description, "Play and add to progression · right-click to copy")
            mouseClick(cell)
            compare(calculator.progression, [0])
            compare(TestServices.soundCount(), 1)
            compare(TestServices.soundAt(0).quality, "minor")
            mouseClick(cell, cell.width / 2, cell.height / 2, Qt.RightButton)
            tryCompare(cell.menu, "opened", true)
            const item = cell.menu.itemAt(0)
            compare(item.text, "Copy Bbm")
            item.triggered()
            compare(TestServices.clipboardText(), "Bbm")
            compare(calculator.progression, [0])
            cell.menu.close()
        }

        function test_keyboard_data() {
            return [
                { tag: "Right: a fifth up", keys: [Qt.Key_Right], selected: "G" },
                { tag: "Left wraps to F", keys: [Qt.Key_Left], selected: "F" },
                { tag: "Down, Left, Up", keys: [Qt.Key_Down, Qt.Key_Left, Qt.Key_Up], selected: "F" },
                { tag: "Down, Right", keys: [Qt.Key_Down, Qt.Key_Right], selected: "Em" }
            ]
        }
        function test_keyboard(data) {
            wheel().forceActiveFocus()
            for (const key of data.keys)
                keyClick(key)
            compare(controller.keyName, "C")
            compare(TestServices.soundCount(), 0)
            keyClick(Qt.Key_Return)
            compare(controller.keyName, data.selected)
            compare(TestServices.soundCount(), 1)
        }

        function loopChip(index) {
            const loop = findChild(view, "loop")
            tryVerify(() => loop.itemAtIndex(index) !== null)
            return loop.itemAtIndex(index)
        }

        function test_degreeChipsFillAnEmptyLoop() {
            calculator.progression = []
            verify(findChild(view, "emptyLoop").visible)
            verify(!findChild(view, "loop").visible)
            verify(!findChild(view, "clear").enabled)
            verify(!findChild(view, "play").enabled)
            compare(findChild(view, "tempoLabel").text, "120 BPM · 2 beats/chord")
            for (let i = 0; i < 3; ++i)
                mouseClick(findChild(view, "degree3"))
            compare(calculator.progression, [3, 3, 3])
            compare(TestServices.soundCount(), 3)
            compare(loopChip(2).Accessible.name, "Chord 3 of 3, F, IV")
            verify(findChild(view, "play").enabled)
        }

        function test_playAndLeave() {
            calculator.progression = [0, 4]
            const play = findChild(view, "play")
            mouseClick(play)
            compare(play.text, "Stop")
            TestServices.advance(1000)
            const chip = loopChip(1)
            compare(chip.Accessible.name, "Chord 2 of 2, G, V, playing")
            compare(chip.Accessible.selected, true)
            compare(TestServices.soundCount(), 2)
            // Removing a chip is a click on it.
            mouseClick(loopChip(0))
            compare(calculator.progression, [4])
            host.active = false
            verify(!calculator.progressionPlaying)
            TestServices.advance(3000)
            compare(TestServices.soundCount(), 2)
        }

        function test_presetsFollowTheMode() {
            const presets = findChild(view, "presets")
            controller.select(0, true)
            compare(presets.entries, ["i–VI–III–VII", "i–iv–v–i", "i–VII–VI–v", "ii°–v–i"])
            presets.chosen(3)
            compare(calculator.progression, [1, 4, 0])
        }
    }
}
