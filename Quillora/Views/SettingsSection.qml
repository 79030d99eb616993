import QtQuick
import Quillora

// One group of the Settings sheet under its heading. The settings of one
// group of quillora.conf go in one section; a new group adds a section.
Column {
    id: section

    property string title
    default property alias content: rows.data

    width: parent ? parent.width : 0
    spacing: 8

    Text {
        text: section.title
        font: Theme.buttonFont
        color: Theme.secondaryText
        textFormat: Text.PlainText
        Accessible.role: Accessible.Heading
        Accessible.name: section.title
    }
    Column {
        id: rows
        width: parent.width
        spacing: 6
    }
}
