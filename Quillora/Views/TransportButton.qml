import QtQuick
import Quillora
import QtQuick.Controls.Basic
import QtQuick.Window

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
            // The glyphs are drawn 30 x 22; render them for the screen's pixels.
            width: 30
            height: 22
            sourceSize: Qt.size(30 * Screen.devicePixelRatio, 22 * Screen.devicePixelRatio)
            source: Theme.icon(button.glyph, Theme.secondary)
        }
    }
    background: Item {}

    HoverHandler { cursorShape: Qt.PointingHandCursor }
}
