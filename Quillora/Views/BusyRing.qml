import QtQuick
import QtQuick.Shapes
import Quillora

// The thin ring that turns round the play button while the stream is being
// opened, clear of the button's glow: a faint full circle, and a quarter of
// it in full colour.
Shape {
    id: ring
    objectName: "progressRing"

    property real buttonSize: 95
    readonly property real radius: ring.buttonSize / 2 + 11
    readonly property real lineWidth: 3

    width: 2 * (radius + lineWidth)
    height: width
    // A smooth edge under OpenGL; the software scene graph antialiases
    // paths by itself.
    layer.enabled: visible
    layer.samples: 4
    layer.smooth: true

    ShapePath {
        strokeColor: Theme.alpha(Theme.primary, 0.22)
        strokeWidth: ring.lineWidth
        fillColor: "transparent"
        PathAngleArc {
            centerX: ring.width / 2; centerY: ring.height / 2
            radiusX: ring.radius; radiusY: ring.radius
            startAngle: 0; sweepAngle: 360
        }
    }
    ShapePath {
        strokeColor: Theme.primary
        strokeWidth: ring.lineWidth
        fillColor: "transparent"
        capStyle: ShapePath.RoundCap
        PathAngleArc {
            centerX: ring.width / 2; centerY: ring.height / 2
            radiusX: ring.radius; radiusY: ring.radius
            startAngle: -90; sweepAngle: 90
        }
    }
    RotationAnimator on rotation {
        from: 0; to: 360; duration: 1100
        loops: Animation.Infinite
        running: ring.visible
    }
}
