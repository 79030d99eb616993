import QtQuick
import Quillora
import QtQuick.Controls.Basic

// The previous and next buttons: a glyph at its natural size in an 80-point
// square.
AbstractButton {
    id: button

    property string glyph

    implicitWidth: 80
    implicitHeight: 80
    focusPolicy: Qt.NoFocus
    Accessible.role: Accessible.Button
    opacity: enabled ? (pressed ? 0.55 : 1) : 0.35
    Behavior on opacity { NumberAnimation { duration: 120 } }

    contentItem: Item {
        Image {
            anchors.centerIn: parent
            source: Theme.icon(button.glyph, Theme.secondary)
        }
    }
    background: Item {}

    HoverHandler { cursorShape: Qt.PointingHandCursor }
}
