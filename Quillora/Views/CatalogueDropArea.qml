import QtQuick
import Quillora

// Takes a CSV file or an address dropped anywhere on the window, and shows
// where it will go while something is dragged over.
DropArea {
    id: area
    objectName: "catalogueDropArea"

    // The first file or address dropped, as text, and every file dropped
    // (for an import of playlists).
    signal catalogueDropped(string text, var urls)

    function firstLine(text) {
        const lines = text.split(/\r?\n/).map(line => line.trim()).filter(line => line.length > 0 && !line.startsWith("#"))
        return lines.length > 0 ? lines[0] : ""
    }

    keys: ["text/uri-list", "text/plain"]
    onEntered: drag => drag.accepted = drag.hasUrls || drag.hasText
    onDropped: drop => {
        const text = drop.hasUrls && drop.urls.length > 0 ? drop.urls[0].toString() : area.firstLine(drop.text)
        if (text.length === 0)
            return
        drop.acceptProposedAction()
        area.catalogueDropped(text, drop.hasUrls ? drop.urls : [])
    }

    // Built the first time something is dragged over the window.
    LazyItem {
        anchors.fill: parent
        anchors.margins: 8
        visible: area.containsDrag
        needed: area.containsDrag
        sourceComponent: Rectangle {
            radius: 20
            color: Theme.backdrop
            border.width: 3
            border.color: Theme.textOnPrimary

            Text {
                anchors.centerIn: parent
                width: parent.width - 48
                text: qsTr("Drop a CSV file or an address to use it as the catalogue")
                font: Theme.titleFont
                color: Theme.textOnPrimary
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
            }
        }
    }
}
