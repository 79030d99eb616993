import QtQuick
import Quillora

// One song heard lately: when, the song, and on which station; a button
// copies it. A click on the row copies it too. After a copy the button shows
// a check mark for a moment.
Item {
    id: row
    objectName: "recentlyPlayedRow"

    required property int index
    required property string timeText
    required property string station
    required property string song
    // The kept song's file (empty: none) and whether it is in the music
    // folder; canSave: songs wait in the cache to be saved.
    required property string recording
    required property bool saved
    property bool canSave: false

    property bool current: false
    signal copyRequested()
    signal saveRequested()
    signal showRequested()

    // The check mark after a copy.
    function showCopied() {
        copied.restart()
    }
    readonly property bool copiedShown: copied.running

    readonly property bool kept: row.recording.length > 0
    implicitHeight: kept && (row.saved || row.canSave) ? 96 : 60
    Accessible.role: Accessible.ListItem
    Accessible.name: row.song + ", " + row.station + ", " + row.timeText
    Accessible.selected: row.current
    Accessible.onPressAction: row.copyRequested()

    Timer {
        id: copied
        interval: 1500
    }

    Rectangle {
        anchors.fill: parent
        anchors.topMargin: 2
        anchors.bottomMargin: 2
        radius: Theme.radiusTile
        color: row.current ? Theme.highlight : (hover.hovered ? Theme.fill : "transparent")
    }

    Text {
        id: time
        objectName: "rowTime"
        x: 10
        width: 64
        anchors.verticalCenter: parent.verticalCenter
        text: row.timeText
        font: Theme.detailFont
        color: Theme.secondaryText
        elide: Text.ElideRight
        textFormat: Text.PlainText
    }

    Column {
        anchors.left: time.right
        anchors.leftMargin: Theme.spacingSmall
        anchors.right: copyButton.left
        anchors.rightMargin: Theme.spacingTiny
        anchors.verticalCenter: parent.verticalCenter
        spacing: 2

        Text {
            objectName: "rowSong"
            width: parent.width
            text: row.song
            font: Theme.rowTitleFont
            color: Theme.text
            elide: Text.ElideRight
            maximumLineCount: 1
            textFormat: Text.PlainText
        }
        Text {
            objectName: "rowStation"
            width: parent.width
            text: row.station
            font: Theme.detailFont
            color: Theme.secondaryText
            elide: Text.ElideRight
            maximumLineCount: 1
            textFormat: Text.PlainText
        }
        // A kept song: "Saved" and "Show in folder", or "Save" while it
        // waits in the cache.
        Row {
            objectName: "keptActions"
            visible: row.kept && (row.saved || row.canSave)
            topPadding: 4
            spacing: 8

            Text {
                objectName: "savedLabel"
                anchors.verticalCenter: parent.verticalCenter
                visible: row.saved
                text: qsTr("Saved")
                font: Theme.detailFont
                color: Theme.secondaryText
            }
            SmallButton {
                objectName: "showInFolderButton"
                visible: row.saved
                text: qsTr("Show in folder")
                onClicked: row.showRequested()
            }
            SmallButton {
                objectName: "saveButton"
                visible: !row.saved && row.canSave
                text: qsTr("Save")
                prominent: true
                onClicked: row.saveRequested()
            }
        }
    }

    TapHandler {
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: row.copyRequested()
    }
    HoverHandler { id: hover }

    IconButton {
        id: copyButton
        objectName: "copyButton"
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        glyph: row.copiedShown ? "checkmark" : "doc.on.doc"
        glyphSize: 20
        color: Theme.accent
        activeFocusOnTab: false
        Accessible.name: row.copiedShown ? qsTr("Copied") : qsTr("Copy")
        onClicked: row.copyRequested()
    }
}
