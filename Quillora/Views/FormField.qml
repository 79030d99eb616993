import QtQuick
import Quillora

// One labelled line of text in a form, with what is wrong with it (if
// anything) right below. The problem shows once the field has been touched:
// typed in, left, or asked for by the form (reveal()), so an empty form does
// not open full of complaints. Up and Down go on to the form (to move
// between fields); Return and Enter emit accepted().
FocusScope {
    id: field

    property string label
    property alias text: input.text
    property string placeholderText
    // What is wrong with the text now; empty when nothing is.
    property string problem
    property alias maximumLength: input.maximumLength
    property alias inputMethodHints: input.inputMethodHints
    // Typed in or left since the form opened (or revealed by the form).
    property bool touched: false
    readonly property bool showsProblem: field.touched && field.problem.length > 0
    signal accepted()

    function reveal() { field.touched = true }
    function selectAll() { input.selectAll() }

    implicitWidth: 320
    implicitHeight: column.implicitHeight

    Accessible.role: Accessible.EditableText
    Accessible.name: field.label
    Accessible.description: field.showsProblem ? field.problem : ""
    Accessible.focusable: true

    Column {
        id: column
        width: parent.width
        spacing: 6

        Text {
            width: parent.width
            text: field.label
            font: Theme.detailFont
            color: Theme.secondaryText
            elide: Text.ElideRight
            textFormat: Text.PlainText
            Accessible.ignored: true
        }

        Rectangle {
            width: parent.width
            height: 44
            radius: Theme.radius
            color: Theme.fill
            border.width: input.activeFocus || field.showsProblem ? 2 : 0
            border.color: field.showsProblem ? Theme.danger : Theme.focusRing

            TextInput {
                id: input
                objectName: "formFieldInput"
                focus: true
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.leftMargin: Theme.spacing
                anchors.rightMargin: Theme.spacing
                anchors.verticalCenter: parent.verticalCenter
                font: Theme.fieldFont
                color: Theme.text
                selectionColor: Theme.primary
                selectedTextColor: Theme.textOnPrimary
                selectByMouse: true
                clip: true
                activeFocusOnTab: true
                onTextEdited: field.touched = true
                onActiveFocusChanged: if (!activeFocus && text.length > 0) field.touched = true
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

            TapHandler { onTapped: input.forceActiveFocus() }
        }

        Text {
            objectName: "formFieldProblem"
            width: parent.width
            visible: field.showsProblem
            text: field.problem
            font: Theme.detailFont
            color: Theme.danger
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }
}
