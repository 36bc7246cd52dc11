import QtQuick

// One symbol of the application's icon set, drawn in a single colour:
//   Icon { name: "hand.tap"; color: "#eba33d"; size: 15 }
// The image is requested at `size` logical pixels; Qt scales an image-provider request by the
// window's device pixel ratio (and asks again when it changes), so the icon stays crisp at 2x.
Item {
    id: root

    property string name
    property color color: "black"
    property real size: 16

    implicitWidth: size
    implicitHeight: size

    Accessible.ignored: true

    Image {
        id: image
        anchors.centerIn: parent
        width: root.size
        height: root.size
        sourceSize.width: Math.ceil(root.size)
        sourceSize.height: Math.ceil(root.size)
        fillMode: Image.PreserveAspectFit
        source: root.name.length > 0
                ? "image://icon/" + root.name + "?color=" + encodeURIComponent(root.color.toString())
                : ""
    }
}
