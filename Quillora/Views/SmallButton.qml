import QtQuick
import Quillora

// A small pill-shaped text button: tinted, or filled in the accent colour
// when `prominent`. A click, Space or Return emits clicked().
Rectangle {
    id: button

    property string text
    property bool prominent: false
    signal clicked()

    implicitWidth: label.implicitWidth + 28
    implicitHeight: 32
    radius: height / 2
    color: prominent ? Theme.primary : Theme.fill
    border.width: activeFocus ? 2 : 0
    border.color: prominent ? Theme.surface : Theme.focusRing
    opacity: enabled ? (tap.pressed ? 0.6 : 1) : 0.4
    Behavior on opacity { NumberAnimation { duration: 100 } }

    activeFocusOnTab: true
    Keys.onSpacePressed: clicked()
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()

    Accessible.role: Accessible.Button
    Accessible.name: button.text
    Accessible.focusable: true
    Accessible.onPressAction: if (enabled) clicked()

    Text {
        id: label
        anchors.centerIn: parent
        text: button.text
        font: Theme.buttonFont
        color: button.prominent ? Theme.textOnPrimary : Theme.accent
        textFormat: Text.PlainText
    }

    TapHandler {
        id: tap
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: button.clicked()
    }
    HoverHandler { cursorShape: Qt.PointingHandCursor }
}
