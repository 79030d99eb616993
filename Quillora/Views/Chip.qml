import QtQuick
import Quillora

// A pill with a short text that filters or picks something: plain, or
// filled in the accent colour while checked. A click, Space or Return
// emits clicked(); the owner decides what `checked` becomes.
Rectangle {
    id: chip

    property string text
    property bool checked: false
    signal clicked()

    implicitWidth: Math.min(220, label.implicitWidth + 28)
    implicitHeight: 32
    radius: height / 2
    color: checked ? Theme.primary : Theme.fill
    border.width: activeFocus ? 2 : 0
    border.color: checked ? Theme.surface : Theme.focusRing
    opacity: enabled ? (tap.pressed ? 0.7 : 1) : 0.4

    activeFocusOnTab: true
    Keys.onSpacePressed: clicked()
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()

    Accessible.role: Accessible.CheckBox
    Accessible.name: chip.text
    Accessible.checkable: true
    Accessible.checked: chip.checked
    Accessible.focusable: true
    Accessible.onPressAction: if (enabled) clicked()
    Accessible.onToggleAction: if (enabled) clicked()

    Text {
        id: label
        anchors.centerIn: parent
        width: Math.min(implicitWidth, chip.width - 24)
        text: chip.text
        font: Theme.chipFont
        color: chip.checked ? Theme.textOnPrimary : Theme.text
        elide: Text.ElideRight
        textFormat: Text.PlainText
    }

    TapHandler {
        id: tap
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: chip.clicked()
    }
    HoverHandler { cursorShape: Qt.PointingHandCursor }
}
