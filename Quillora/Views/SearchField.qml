import QtQuick
import QtQuick.Window
import Quillora

// A one-line search field: a magnifier, the text, a placeholder while it is
// empty and a clear button while it is not. Enter or Return emits accepted().
// Keys it does not use (up, down, Escape) go on to its parent.
FocusScope {
    id: field

    property alias text: input.text
    property string placeholderText
    // The symbol at the start of the field (Views/icons).
    property string glyph: "magnifyingglass"
    property alias maximumLength: input.maximumLength
    signal accepted()
    // The clear button emptied the field.
    signal cleared()

    function clear() { input.clear() }
    function selectAll() { input.selectAll() }
    function insert(text) { input.insert(input.cursorPosition, text) }

    implicitWidth: 280
    implicitHeight: 44

    Accessible.role: Accessible.EditableText
    Accessible.name: field.placeholderText
    Accessible.searchEdit: field.glyph === "magnifyingglass"
    Accessible.focusable: true

    Rectangle {
        anchors.fill: parent
        radius: Theme.radius
        color: Theme.fill
        border.width: input.activeFocus ? 2 : 0
        border.color: Theme.focusRing
    }

    Image {
        id: magnifier
        x: 12
        anchors.verticalCenter: parent.verticalCenter
        width: 18
        height: 18
        sourceSize: Qt.size(18 * Screen.devicePixelRatio, 18 * Screen.devicePixelRatio)
        source: Theme.icon(field.glyph, Theme.secondaryText)
    }

    TextInput {
        id: input
        objectName: "searchInput"
        focus: true
        anchors.left: magnifier.right
        anchors.leftMargin: Theme.spacingSmall
        anchors.right: clearButton.visible ? clearButton.left : parent.right
        anchors.rightMargin: clearButton.visible ? 0 : 12
        anchors.verticalCenter: parent.verticalCenter
        font: Theme.fieldFont
        color: Theme.text
        selectionColor: Theme.primary
        selectedTextColor: Theme.textOnPrimary
        selectByMouse: true
        clip: true
        onAccepted: field.accepted()
    }

    Text {
        anchors.fill: input
        verticalAlignment: Text.AlignVCenter
        text: field.placeholderText
        font: Theme.fieldFont
        color: Theme.secondaryText
        elide: Text.ElideRight
        textFormat: Text.PlainText
        visible: input.text.length === 0 && input.preeditText.length === 0
        Accessible.ignored: true
    }

    IconButton {
        id: clearButton
        objectName: "searchClearButton"
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        width: 40
        height: 40
        glyph: "xmark.circle.fill"
        glyphSize: 18
        color: Theme.secondaryText
        activeFocusOnTab: false
        visible: input.text.length > 0
        Accessible.name: qsTr("Clear")
        onClicked: {
            input.clear()
            input.forceActiveFocus()
            field.cleared()
        }
    }

    // A tap anywhere on the field (the magnifier, the margins) puts the
    // cursor in it.
    TapHandler {
        onTapped: input.forceActiveFocus()
    }
}
