import QtQuick
import Quillora
import QtQuick.Controls.Basic

// Volume from 0 to 1 in steps of 0.1.
Slider {
    id: slider

    from: 0
    to: 1
    stepSize: 0.1
    snapMode: Slider.SnapAlways
    focusPolicy: Qt.NoFocus
    Accessible.name: qsTr("Volume")
    opacity: enabled ? 1 : 0.35

    background: Rectangle {
        x: slider.leftPadding
        y: slider.topPadding + slider.availableHeight / 2 - height / 2
        width: slider.availableWidth
        height: 4
        radius: 2
        color: Qt.rgba(Theme.secondary.r, Theme.secondary.g, Theme.secondary.b, 0.2)

        Rectangle {
            width: slider.visualPosition * parent.width
            height: parent.height
            radius: 2
            color: Theme.primary
        }
    }

    handle: Item {
        x: slider.leftPadding + slider.visualPosition * (slider.availableWidth - width)
        y: slider.topPadding + slider.availableHeight / 2 - height / 2
        implicitWidth: 26
        implicitHeight: 26

        BoxShadow {
            anchors.fill: parent
            cornerRadius: 13
            blurRadius: 6
            color: Qt.rgba(0, 0, 0, 0.25)
        }
        Rectangle {
            anchors.fill: parent
            radius: 13
            color: "white"
            antialiasing: true
        }
    }
}
