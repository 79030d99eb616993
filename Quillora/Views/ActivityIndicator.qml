import QtQuick
import Quillora

// Five dots chasing each other round a circle for as long as the indicator
// is on screen. Each dot turns once per 1.5 s on its own cubic-Bezier curve,
// so the dots spread out and gather once per cycle; dot 0 shrinks while dot
// 4 grows.
Item {
    id: indicator

    // Seeded once: a parent's later colour change does not recolour the dots.
    property color color: Theme.secondary
    readonly property color fillColor: seededColor
    property color seededColor
    property bool isAnimating: false

    readonly property real side: Math.min(width, height)

    Component.onCompleted: {
        seededColor = color
        isAnimating = true
    }

    Repeater {
        model: 5

        Item {
            id: frame
            required property int index
            readonly property real startScale: 1 - index / 5
            readonly property real endScale: 0.2 + index / 5
            readonly property var curve: [0.5, 0.15 + index / 5, 0.25, 1.0, 1, 1]

            width: indicator.side
            height: indicator.side
            anchors.centerIn: parent
            transformOrigin: Item.Center

            Rectangle {
                id: dot
                width: indicator.side / 5
                height: indicator.side / 5
                radius: width / 2
                color: indicator.fillColor
                x: (frame.width - width) / 2
                y: (frame.height - height) / 2 + indicator.side / 10 - indicator.side / 2
                scale: frame.startScale
            }

            ParallelAnimation {
                running: indicator.isAnimating && indicator.visible
                loops: Animation.Infinite
                NumberAnimation {
                    target: frame; property: "rotation"; from: 0; to: 360; duration: 1500
                    easing.type: Easing.Bezier; easing.bezierCurve: frame.curve
                }
                NumberAnimation {
                    target: dot; property: "scale"; from: frame.startScale; to: frame.endScale; duration: 1500
                    easing.type: Easing.Bezier; easing.bezierCurve: frame.curve
                }
            }
        }
    }
}
