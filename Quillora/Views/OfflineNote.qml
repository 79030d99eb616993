import QtQuick
import QtQuick.Window
import Quillora

// A quiet line at the top of the band while the stations on screen are not
// the catalogue's latest: the stored ones standing in for a load that
// failed ("Offline: stations from 3 December, 14:20"), or the last good
// ones after a refresh failed. A tap tries again.
Item {
    id: note
    objectName: "offlineNote"

    property string text
    property real maximumWidth: 320
    signal retryRequested()

    readonly property bool shown: note.text.length > 0
    // Keeps the last text while it fades out.
    property string shownText
    onTextChanged: if (note.text.length > 0) note.shownText = note.text

    implicitWidth: Math.min(note.maximumWidth, glyph.width + label.implicitWidth + 30)
    implicitHeight: Math.max(28, label.height + 10)
    width: implicitWidth
    height: implicitHeight
    visible: opacity > 0
    opacity: note.shown ? 1 : 0
    Behavior on opacity { NumberAnimation { duration: 250 } }

    Accessible.role: Accessible.Button
    Accessible.name: note.shownText
    Accessible.description: qsTr("Try loading the stations again")
    Accessible.onPressAction: note.retryRequested()

    Rectangle {
        anchors.fill: parent
        radius: Math.min(14, height / 2)
        color: Theme.alpha(Theme.shadow, tap.pressed ? 0.3 : 0.18)
    }

    Image {
        id: glyph
        x: 10
        anchors.verticalCenter: parent.verticalCenter
        width: 14
        height: 14
        sourceSize: Qt.size(14 * Screen.devicePixelRatio, 14 * Screen.devicePixelRatio)
        source: Theme.icon("wifi.slash", Theme.textOnPrimary)
    }

    Text {
        id: label
        objectName: "offlineNoteText"
        anchors.left: glyph.right
        anchors.leftMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        width: note.width - glyph.width - 30
        text: note.shownText
        font: Theme.detailFont
        color: Theme.textOnPrimary
        wrapMode: Text.Wrap
        maximumLineCount: 2
        elide: Text.ElideRight
        textFormat: Text.PlainText
    }

    TapHandler {
        id: tap
        enabled: note.shown
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: note.retryRequested()
    }
    HoverHandler { cursorShape: Qt.PointingHandCursor }
}
