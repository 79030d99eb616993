import QtQuick
import RemoteImage

// A ring filling clockwise from twelve o'clock: progress 0.25 is a quarter
// from twelve to three; values outside 0…1 are clamped. Changes animate
// linearly over 0.25 s.
Item {
    id: root

    property real progress: 0
    property real lineWidth: 1
    property color color: "black"

    CircleProgressArc {
        x: -root.lineWidth / 2
        y: -root.lineWidth / 2
        width: root.width + root.lineWidth
        height: root.height + root.lineWidth
        lineWidth: root.lineWidth
        color: root.color
        damping: 1
        progress: root.progress

        Behavior on progress {
            NumberAnimation { duration: 250; easing.type: Easing.Linear }
        }
    }
}
