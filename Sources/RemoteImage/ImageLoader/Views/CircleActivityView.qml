import QtQuick
import RemoteImage

// An endless spinner: each 2 s the head runs once round from twelve o'clock;
// the tail waits until 35 % of the cycle, follows, and catches the head at
// the end, so every cycle starts from an empty arc.
Item {
    id: root

    property real lineWidth: 8
    property color color: "black"

    CircleProgressArc {
        x: -root.lineWidth / 2
        y: -root.lineWidth / 2
        width: root.width + root.lineWidth
        height: root.height + root.lineWidth
        lineWidth: root.lineWidth
        color: root.color

        NumberAnimation on progress {
            from: 0
            to: 1
            duration: 2000
            loops: Animation.Infinite
            running: root.visible
        }
    }
}
