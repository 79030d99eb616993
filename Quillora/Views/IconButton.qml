import QtQuick
import QtQuick.Window
import Quillora

// A glyph that acts as a button, with a 44-point target around it. Name it
// for assistive technology with Accessible.name.
Item {
    id: button

    // A symbol of the icon set (Views/icons), drawn in `color`.
    property string glyph
    property color color: Theme.secondary
    property real glyphSize: 22
    readonly property bool pressed: tap.pressed
    signal clicked()

    implicitWidth: 44
    implicitHeight: 44
    opacity: enabled ? (pressed ? 0.55 : 1) : 0.35
    Behavior on opacity { NumberAnimation { duration: 120 } }

    activeFocusOnTab: true
    Keys.onSpacePressed: clicked()
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()

    Accessible.role: Accessible.Button
    Accessible.focusable: true
    Accessible.onPressAction: if (enabled) clicked()

    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: "transparent"
        border.width: 2
        border.color: Theme.focusRing
        visible: button.activeFocus
    }

    Image {
        anchors.centerIn: parent
        width: button.glyphSize
        height: button.glyphSize
        sourceSize: Qt.size(button.glyphSize * Screen.devicePixelRatio, button.glyphSize * Screen.devicePixelRatio)
        source: Theme.icon(button.glyph, button.color)
    }

    TapHandler {
        id: tap
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: button.clicked()
    }
    HoverHandler { cursorShape: Qt.PointingHandCursor }
}
