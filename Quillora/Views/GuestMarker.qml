import QtQuick
import Quillora

// Under the title of a station played from outside the catalogue (a
// directory result): a quiet pill that says it is not kept, and the action
// that keeps it. Where the catalogue cannot be written, the action copies
// the station as a CSV row instead, and a line below says why.
Column {
    id: marker

    // Adding is possible; else the action copies a CSV row.
    property bool canAdd: true
    // The catalogue's name, as the pill says it ("My stations").
    property string catalogueName: qsTr("My stations")
    // Why adding is not possible, shown below while it is not.
    property string reason
    signal keepRequested()

    spacing: Theme.spacingTiny

    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: Theme.spacingSmall

        Rectangle {
            id: pill
            objectName: "guestLabel"
            anchors.verticalCenter: parent.verticalCenter
            // The ring and the label's margins around the label's own width.
            width: Math.min(label.implicitWidth + 40, marker.width - action.width - 8)
            height: 32
            radius: Theme.radiusLarge
            color: "transparent"
            border.width: 1
            border.color: Theme.secondaryText

            Accessible.role: Accessible.StaticText
            Accessible.name: label.text

            // A hollow ring: not one of yours (yet).
            Rectangle {
                id: ring
                x: 12
                anchors.verticalCenter: parent.verticalCenter
                width: 8
                height: 8
                radius: 4
                color: "transparent"
                border.width: 1.5
                border.color: Theme.secondaryText
            }
            Text {
                id: label
                anchors.left: ring.right
                anchors.leftMargin: 6
                anchors.right: parent.right
                anchors.rightMargin: Theme.spacing
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("Not in %1").arg(marker.catalogueName)
                font: Theme.detailFont
                color: Theme.secondaryText
                elide: Text.ElideRight
                textFormat: Text.PlainText
                Accessible.ignored: true
            }
        }

        SmallButton {
            id: action
            objectName: "guestKeepButton"
            anchors.verticalCenter: parent.verticalCenter
            text: marker.canAdd ? qsTr("Add to %1").arg(marker.catalogueName) : qsTr("Copy as CSV row")
            prominent: marker.canAdd
            onClicked: marker.keepRequested()
        }
    }

    Text {
        objectName: "guestReason"
        width: marker.width
        visible: !marker.canAdd && marker.reason.length > 0
        // The short form fits the line; the whole reason is the one the
        // Discover sheet and screen readers give.
        text: qsTr("Quillora cannot write to %1").arg(marker.catalogueName)
        Accessible.role: Accessible.StaticText
        Accessible.name: marker.reason
        font: Theme.detailFont
        color: Theme.secondaryText
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        // One line: the volume slider below stays on an 800-point screen.
        // Copying says again where the row goes.
        maximumLineCount: 1
        elide: Text.ElideRight
        textFormat: Text.PlainText
    }
}
