import QtQuick
import Quillora

// Volume from 0 to 1 in steps of 0.1: press or drag anywhere on the track.
// Drawn by hand rather than with Qt Quick Controls, whose style plugins
// would cost the window a good part of its start-up.
Item {
    id: slider

    property real value: 0
    readonly property real from: 0
    readonly property real to: 1
    readonly property real stepSize: 0.1
    // Set by the user, as opposed to by a binding.
    signal moved()

    readonly property real leftPadding: handle.width / 2
    readonly property real availableWidth: width - handle.width
    readonly property real position: Math.max(0, Math.min(1, (value - from) / (to - from)))

    implicitWidth: 200
    implicitHeight: 26
    opacity: enabled ? 1 : 0.35

    Accessible.role: Accessible.Slider
    Accessible.name: qsTr("Volume")
    Accessible.onIncreaseAction: step(1)
    Accessible.onDecreaseAction: step(-1)

    function step(direction) {
        setValue(value + direction * stepSize)
    }
    function setValue(wanted) {
        const snapped = Math.round(Math.max(from, Math.min(to, wanted)) / stepSize) * stepSize
        const rounded = Math.round(snapped * 1000) / 1000
        if (rounded === value)
            return
        value = rounded
        moved()
    }

    Rectangle {
        x: slider.leftPadding
        anchors.verticalCenter: parent.verticalCenter
        width: slider.availableWidth
        height: 4
        radius: 2
        color: Theme.alpha(Theme.secondary, 0.2)

        Rectangle {
            width: slider.position * parent.width
            height: parent.height
            radius: 2
            color: Theme.primary
        }
    }

    Item {
        id: handle
        x: slider.position * slider.availableWidth
        anchors.verticalCenter: parent.verticalCenter
        width: 26
        height: 26

        BoxShadow {
            anchors.fill: parent
            cornerRadius: 13
            blurRadius: 6
            color: Theme.alpha(Theme.shadow, 0.25)
        }
        Rectangle {
            anchors.fill: parent
            radius: 13
            color: Theme.textOnPrimary
            antialiasing: true
        }
    }

    MouseArea {
        anchors.fill: parent
        preventStealing: true
        function follow(mouse) {
            slider.setValue(slider.from + (mouse.x - slider.leftPadding) / slider.availableWidth * (slider.to - slider.from))
        }
        onPressed: mouse => follow(mouse)
        onPositionChanged: mouse => { if (pressed) follow(mouse) }
    }
}
