import QtQuick
import Quillora

// A setting that is on or off: its text, an optional line under it, and a
// switch. A click anywhere on the row, Space or Return emits toggled(); the
// owner sets `checked`.
Item {
    id: row

    property string text
    property string detail
    property bool checked: false
    signal toggled()

    width: parent ? parent.width : 0
    implicitHeight: Math.max(44, labels.implicitHeight + 12)

    activeFocusOnTab: true
    Keys.onSpacePressed: toggled()
    Keys.onReturnPressed: toggled()
    Keys.onEnterPressed: toggled()

    Accessible.role: Accessible.CheckBox
    Accessible.name: row.text
    Accessible.description: row.detail
    Accessible.checkable: true
    Accessible.checked: row.checked
    Accessible.focusable: true
    Accessible.onPressAction: row.toggled()
    Accessible.onToggleAction: row.toggled()

    Rectangle {
        anchors.fill: parent
        radius: 10
        color: "transparent"
        border.width: row.activeFocus ? 2 : 0
        border.color: Theme.focusRing
    }
    Column {
        id: labels
        anchors.left: parent.left
        anchors.leftMargin: 10
        anchors.right: track.left
        anchors.rightMargin: 12
        anchors.verticalCenter: parent.verticalCenter
        spacing: 2
        Text {
            width: parent.width
            text: row.text
            font: Theme.fieldFont
            color: Theme.text
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
        }
        Text {
            width: parent.width
            visible: row.detail.length > 0
            text: row.detail
            font: Theme.detailFont
            color: Theme.secondaryText
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
        }
    }
    Rectangle {
        id: track
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        width: 44
        height: 26
        radius: height / 2
        color: row.checked ? Theme.primary : Theme.fill
        Rectangle {
            x: row.checked ? parent.width - width - 3 : 3
            anchors.verticalCenter: parent.verticalCenter
            width: 20
            height: 20
            radius: 10
            color: Theme.textOnPrimary
            Behavior on x { NumberAnimation { duration: 120 } }
        }
    }
    TapHandler {
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: row.toggled()
    }
}
