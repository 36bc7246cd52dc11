import QtQuick
import QtQuick.Controls
import Morvela

ApplicationWindow {
    id: window
    width: 960
    height: 720
    minimumWidth: 900
    minimumHeight: 680
    visible: true
    title: "Morvela Calculator"

    CalculatorState { id: calculatorState }
    ShellController { id: shell }

    Text {
        anchors.centerIn: parent
        text: shell.summary(calculatorState.a4, calculatorState.bpm)
    }
}
