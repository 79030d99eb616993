import QtQuick
import Quillora

// The record switch beside the song line: whether this station's songs are
// kept, with a small red dot while a song is being written. A click, Space
// or Return turns it.
Item {
    id: control

    property bool checked: false
    property bool writing: false
    signal toggled()

    implicitWidth: 44
    implicitHeight: 24
    activeFocusOnTab: true
    Keys.onSpacePressed: toggled()
    Keys.onReturnPressed: toggled()

    Accessible.role: Accessible.CheckBox
    Accessible.name: qsTr("Keep songs")
    Accessible.checkable: true
    Accessible.checked: control.checked
    Accessible.description: control.writing ? qsTr("Recording this song") : ""
    Accessible.onToggleAction: control.toggled()
    Accessible.onPressAction: control.toggled()

    Rectangle {
        id: track
        anchors.fill: parent
        radius: height / 2
        color: control.checked ? Theme.primary : "transparent"
        border.width: control.checked ? 0 : 1.5
        border.color: Theme.secondaryText
        opacity: tap.pressed ? 0.6 : 1

        Rectangle {
            id: knob
            width: parent.height - 6
            height: width
            radius: width / 2
            y: 3
            x: control.checked ? parent.width - width - 3 : 3
            color: control.checked ? Theme.textOnPrimary : Theme.secondaryText
            Behavior on x { NumberAnimation { duration: 120 } }

            // Writing a song: the red recording dot in the knob.
            Rectangle {
                objectName: "recordingDot"
                anchors.centerIn: parent
                width: parent.width / 2
                height: width
                radius: width / 2
                color: Theme.danger
                visible: control.writing
            }
        }
    }
    Rectangle {
        anchors.fill: parent
        anchors.margins: -3
        radius: height / 2
        color: "transparent"
        border.width: 2
        border.color: Theme.focusRing
        visible: control.activeFocus
    }
    TapHandler {
        id: tap
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: control.toggled()
    }
}
