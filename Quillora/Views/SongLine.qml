import QtQuick
import Quillora

// One line for the song on air ("Artist – Title"), elided at the right; a
// pointer resting on a cut-off line shows the whole text in a bubble below
// it. With no song it shows `placeholder` (quieter), or nothing. A click,
// Space or Return emits clicked(), whenever there is something to click.
Item {
    id: line

    property string song
    property string placeholder
    readonly property bool truncated: label.truncated
    readonly property bool tipShown: tip.visible
    readonly property bool clickable: label.text.length > 0
    signal clicked()

    // One line high even when empty, so the controls below never move.
    implicitHeight: metrics.height

    activeFocusOnTab: clickable
    Keys.onSpacePressed: if (clickable) clicked()
    Keys.onReturnPressed: if (clickable) clicked()
    Keys.onEnterPressed: if (clickable) clicked()

    Accessible.role: Accessible.Button
    // An empty line is no button a screen reader should offer.
    Accessible.ignored: !clickable
    Accessible.name: song.length > 0 ? song : placeholder
    Accessible.description: song.length > 0 ? qsTr("Recently played") : ""
    Accessible.focusable: clickable
    Accessible.onPressAction: if (clickable) clicked()

    FontMetrics {
        id: metrics
        font: Theme.songFont
    }

    Text {
        id: label
        objectName: "songText"
        width: parent.width
        anchors.verticalCenter: parent.verticalCenter
        horizontalAlignment: Text.AlignHCenter
        text: line.song.length > 0 ? line.song : line.placeholder
        font: Theme.songFont
        color: line.song.length > 0 ? Theme.text : Theme.secondaryText
        opacity: tap.pressed ? 0.6 : 1
        elide: Text.ElideRight
        maximumLineCount: 1
        textFormat: Text.PlainText
    }

    Rectangle {
        x: (line.width - label.paintedWidth) / 2 - 6
        width: Math.min(line.width, label.paintedWidth) + 12
        height: line.height + 8
        y: -4
        radius: 6
        color: "transparent"
        border.width: 2
        border.color: Theme.focusRing
        visible: line.activeFocus
    }

    // Only the text itself reacts, not the empty ends of the line.
    Item {
        x: (line.width - width) / 2
        width: Math.min(line.width, label.paintedWidth)
        height: line.height

        TapHandler {
            id: tap
            enabled: line.clickable
            gesturePolicy: TapHandler.ReleaseWithinBounds
            onTapped: line.clicked()
        }
        HoverHandler {
            id: hover
            cursorShape: line.clickable ? Qt.PointingHandCursor : Qt.ArrowCursor
            onHoveredChanged: {
                tip.rested = false
                if (hovered)
                    rest.restart()
                else
                    rest.stop()
            }
        }
    }
    // The whole song after a short rest, as tooltips do.
    Timer {
        id: rest
        interval: 500
        onTriggered: tip.rested = true
    }

    Rectangle {
        id: tip
        objectName: "songTip"
        property bool rested: false
        readonly property real maximumWidth: line.width
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: parent.bottom
        anchors.topMargin: 6
        width: Math.min(tipText.implicitWidth, maximumWidth - 20) + 20
        height: tipText.height + 14
        radius: Theme.radiusSmall
        color: Theme.tooltip
        // On the dark background the bubble needs an edge.
        border.width: Theme.dark ? 1 : 0
        border.color: Theme.tooltipEdge
        visible: rested && hover.hovered && line.truncated && line.song.length > 0

        Text {
            id: tipText
            objectName: "songTipText"
            x: 10
            y: 7
            width: Math.min(implicitWidth, tip.maximumWidth - 20)
            text: line.song
            font: Theme.detailFont
            color: Theme.textOnPrimary
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
        }
    }
}
