import QtQuick
import QtQuick.Window
import Quillora

// The round play/stop button: a 25-point glyph padded by 35 points into a
// 95-point circle of the primary colour with a glow of the same colour.
// While `busy` (the stream is being opened or reopened) a thin ring turns
// round it, clear of the glow.
Item {
    id: button

    property bool playing: false
    property bool busy: false
    readonly property bool pressed: tap.pressed
    signal clicked()

    implicitWidth: 95
    implicitHeight: 95
    opacity: enabled ? 1 : 0.35
    scale: pressed ? 0.92 : 1
    // A short, well damped spring, like the symbol change.
    Behavior on scale { SpringAnimation { spring: 6; damping: 0.5; epsilon: 0.005 } }

    Accessible.role: Accessible.Button
    Accessible.name: playing ? qsTr("Stop") : qsTr("Play")
    Accessible.description: busy ? qsTr("Connecting") : ""
    Accessible.onPressAction: if (enabled) clicked()

    BoxShadow {
        anchors.fill: parent
        cornerRadius: width / 2
        blurRadius: 10
        color: Theme.primary
    }
    Rectangle {
        anchors.fill: parent
        radius: 50
        color: Theme.primary
        antialiasing: true
    }

    // The ring is a file of its own, built the first time the button is
    // busy: the shapes module it needs then costs nothing before.
    LazyItem {
        anchors.centerIn: parent
        needed: button.busy
        visible: button.busy
        source: "BusyRing.qml"
        onLoaded: item.buttonSize = Qt.binding(() => button.width)
    }

    Image {
        objectName: "playSymbol"
        anchors.centerIn: parent
        width: 25; height: 25
        sourceSize: Qt.size(25 * Screen.devicePixelRatio, 25 * Screen.devicePixelRatio)
        source: Theme.icon("play.fill", Theme.textOnPrimary)
        opacity: button.playing ? 0 : 1
        scale: button.playing ? 0.5 : 1
        Behavior on opacity { NumberAnimation { duration: 150; easing.type: Easing.OutCubic } }
        Behavior on scale { NumberAnimation { duration: 150; easing.type: Easing.OutCubic } }
    }
    Image {
        objectName: "stopSymbol"
        anchors.centerIn: parent
        width: 25; height: 25
        sourceSize: Qt.size(25 * Screen.devicePixelRatio, 25 * Screen.devicePixelRatio)
        source: Theme.icon("stop.fill", Theme.textOnPrimary)
        opacity: button.playing ? 1 : 0
        scale: button.playing ? 1 : 0.5
        Behavior on opacity { NumberAnimation { duration: 150; easing.type: Easing.OutCubic } }
        Behavior on scale { NumberAnimation { duration: 150; easing.type: Easing.OutCubic } }
    }

    TapHandler {
        id: tap
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: button.clicked()
    }
    HoverHandler { cursorShape: Qt.PointingHandCursor }
}
