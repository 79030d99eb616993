import QtQuick
import QtQuick.Window
import Quillora

// The previous and next buttons: a glyph at its natural size in an 80-point
// square.
Item {
    id: button

    property string glyph
    readonly property bool pressed: tap.pressed
    signal clicked()

    implicitWidth: 80
    implicitHeight: 80
    opacity: enabled ? (pressed ? 0.55 : 1) : 0.35
    Behavior on opacity { NumberAnimation { duration: 120 } }

    Accessible.role: Accessible.Button
    Accessible.onPressAction: if (enabled) clicked()

    Image {
        anchors.centerIn: parent
        // The glyphs are drawn 30 x 22; render them for the screen's pixels.
        width: 30
        height: 22
        sourceSize: Qt.size(30 * Screen.devicePixelRatio, 22 * Screen.devicePixelRatio)
        source: Theme.icon(button.glyph, Theme.secondary)
    }

    TapHandler {
        id: tap
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: button.clicked()
    }
    HoverHandler { cursorShape: Qt.PointingHandCursor }
}
