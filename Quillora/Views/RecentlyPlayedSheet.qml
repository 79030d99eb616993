pragma ComponentBehavior: Bound
import QtQuick
import Quillora

// The songs heard lately, newest first: time, song and station on each row,
// each one copied to the clipboard by a click or its button. Above the list,
// the station that plays with its stream's codec and bit rate, and "Clear",
// which empties the list at once.
//
// Keys: Up and Down move through the rows, Return or Ctrl+C copies the row
// the keyboard is on.
Sheet {
    id: sheet
    objectName: "recentlyPlayedSheet"

    property RecentlyPlayed songs: null
    // Kept songs: Save, Show in folder.
    property Recorder recorder: null
    // The station that plays, and its stream's details; empty when stopped.
    property string stationTitle
    property string streamDetails

    title: qsTr("Recently played")
    // A short list: the station's card stays in sight above it.
    topMargin: Math.max(72, Math.round(height * 0.3))
    initialFocusItem: list

    function copy(row) {
        if (!sheet.songs || row < 0 || row >= sheet.songs.count)
            return
        list.currentIndex = row
        Clipboard.setText(sheet.songs.textAt(row))
        const shown = list.currentItem as RecentlyPlayedRow
        if (shown)
            shown.showCopied()
    }

    onOpened: list.currentIndex = -1

    Item {
        id: details
        width: parent.width
        height: 40

        Text {
            objectName: "streamDetails"
            anchors.left: parent.left
            anchors.leftMargin: 10
            anchors.right: clear.left
            anchors.rightMargin: Theme.spacing
            anchors.verticalCenter: parent.verticalCenter
            text: sheet.streamDetails.length === 0 ? ""
                : sheet.stationTitle.length > 0 ? sheet.stationTitle + " · " + sheet.streamDetails
                : sheet.streamDetails
            font: Theme.detailFont
            color: Theme.secondaryText
            elide: Text.ElideMiddle
            textFormat: Text.PlainText
        }
        SmallButton {
            id: clear
            objectName: "clearButton"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("Clear")
            enabled: sheet.songs !== null && sheet.songs.count > 0
            onClicked: sheet.songs.clear()
        }
    }

    Rectangle {
        id: separator
        anchors.top: details.bottom
        anchors.topMargin: 6
        width: parent.width
        height: 1
        color: Theme.separator
    }

    ListView {
        id: list
        objectName: "recentlyPlayedList"
        anchors.top: separator.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        clip: true
        model: sheet.songs
        currentIndex: -1
        boundsBehavior: Flickable.StopAtBounds
        highlightMoveDuration: 0
        Accessible.role: Accessible.List
        Accessible.name: sheet.title

        delegate: RecentlyPlayedRow {
            id: songRow
            width: list.width
            current: ListView.isCurrentItem
            onCopyRequested: sheet.copy(songRow.index)
            canSave: sheet.recorder !== null && sheet.recorder.decides
            onSaveRequested: if (sheet.recorder) sheet.recorder.save(songRow.recording)
            onShowRequested: if (sheet.recorder) Qt.openUrlExternally(sheet.recorder.folderOf(songRow.recording))
        }

        onCurrentIndexChanged: if (currentIndex >= 0) positionViewAtIndex(currentIndex, ListView.Contain)
        Keys.onUpPressed: if (currentIndex > 0) decrementCurrentIndex()
        Keys.onDownPressed: if (currentIndex < count - 1) incrementCurrentIndex()
        Keys.onReturnPressed: sheet.copy(currentIndex)
        Keys.onEnterPressed: sheet.copy(currentIndex)
    }
    Shortcut {
        sequence: "Ctrl+C"
        enabled: sheet.isOpen && list.currentIndex >= 0
        onActivated: sheet.copy(list.currentIndex)
    }

    Column {
        anchors.centerIn: list
        width: list.width - 40
        spacing: 6
        visible: list.count === 0

        Text {
            objectName: "recentlyPlayedEmpty"
            width: parent.width
            text: qsTr("No songs yet")
            font: Theme.rowTitleFont
            color: Theme.text
            horizontalAlignment: Text.AlignHCenter
            textFormat: Text.PlainText
        }
        Text {
            width: parent.width
            text: qsTr("Songs appear here as the stations announce them.")
            font: Theme.detailFont
            color: Theme.secondaryText
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
        }
    }
}
