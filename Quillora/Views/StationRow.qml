import QtQuick
import Quillora
import RemoteImage

// One station of the list beside the player: the logo (or a tile with the
// initials until it is there), the title and the genre. The selected
// station's row is filled; the playing one carries a small sound mark. A
// click selects, a double click plays; where the catalogue can be written,
// a handle at the end drags the row to another place.
//
// The sound mark and the handle are built only on the rows that show them:
// every row of the list pays for what it holds. (Not a bound-component file:
// Qt 6.4 refuses to build a bound component that a Loader activates later
// inside a list delegate.)
Item {
    id: row
    objectName: "stationRow"

    required property int index
    required property string title
    required property string genre
    required property string image

    property bool selected: false
    property bool playing: false
    // The keyboard is in the list and on this row.
    property bool current: false
    property bool reorderable: false
    // Touch-sized rows (a tablet): taller, with a larger logo.
    property bool touch: false

    signal selectRequested()
    signal playRequested()
    // The handle was pressed, dragged to `y` (in the row), and let go.
    signal dragStarted()
    signal dragMoved(real y)
    signal dragFinished()

    readonly property real logoSize: row.touch ? 48 : 40
    implicitHeight: row.touch ? 72 : 56

    Accessible.role: Accessible.ListItem
    Accessible.name: row.genre.length > 0 ? row.title + ", " + row.genre : row.title
    Accessible.description: row.playing ? qsTr("Playing") : ""
    Accessible.selected: row.selected
    Accessible.selectable: true
    Accessible.onPressAction: row.playRequested()

    Rectangle {
        anchors.fill: parent
        anchors.topMargin: 1
        anchors.bottomMargin: 1
        radius: Theme.radius
        color: row.selected ? Theme.highlight : (hover.hovered ? Theme.fill : "transparent")
        border.width: row.current ? 2 : 0
        border.color: Theme.focusRing
    }

    Item {
        id: logo
        x: Theme.spacingSmall
        anchors.verticalCenter: parent.verticalCenter
        width: row.logoSize
        height: row.logoSize

        // Logos with transparent parts read well on white in both schemes.
        Rectangle {
            anchors.fill: parent
            anchors.margins: 1
            radius: Theme.radiusSmall
            color: Theme.textOnPrimary
        }
        RemoteImage {
            anchors.fill: parent
            url: row.image
            fitSize: Qt.size(row.logoSize, row.logoSize)
            placeholder: Component {
                InitialsTile {
                    width: row.logoSize
                    height: row.logoSize
                    name: row.title
                }
            }
            content: Component {
                RoundedImage {
                    anchors.fill: parent
                    radius: Theme.radiusTile
                }
            }
        }
    }

    Column {
        anchors.left: logo.right
        anchors.leftMargin: Theme.spacing
        anchors.right: marks.left
        anchors.rightMargin: Theme.spacingSmall
        anchors.verticalCenter: parent.verticalCenter
        spacing: 2

        Text {
            objectName: "stationRowTitle"
            width: parent.width
            text: row.title
            font: Theme.rowTitleFont
            color: row.selected ? Theme.accent : Theme.text
            elide: Text.ElideRight
            textFormat: Text.PlainText
        }
        Text {
            width: parent.width
            visible: text.length > 0
            text: row.genre
            font: Theme.detailFont
            color: Theme.secondaryText
            elide: Text.ElideRight
            textFormat: Text.PlainText
        }
    }

    Row {
        id: marks
        anchors.right: parent.right
        anchors.rightMargin: Theme.spacingTiny
        anchors.verticalCenter: parent.verticalCenter
        spacing: Theme.spacingTiny

        // Three still bars: playing, without an animation that would keep
        // the window drawing. Built only on the row that plays.
        Loader {
            anchors.verticalCenter: parent.verticalCenter
            active: row.playing
            sourceComponent: Row {
                objectName: "playingMark"
                spacing: 2
                Repeater {
                    model: [10, 16, 7]
                    Rectangle {
                        required property int modelData
                        y: 16 - modelData
                        width: 3
                        height: modelData
                        radius: 1.5
                        color: Theme.accent
                    }
                }
            }
        }

        // The handle: three lines, dragged up or down. Built only where the
        // catalogue can be reordered.
        Loader {
            active: row.reorderable
            sourceComponent: Item {
                objectName: "reorderHandle"
                width: row.touch ? 44 : 32
                height: row.touch ? 44 : 32
                Column {
                    anchors.centerIn: parent
                    spacing: 3
                    Repeater {
                        model: 3
                        Rectangle {
                            width: 16
                            height: 2
                            radius: 1
                            color: Theme.secondaryText
                        }
                    }
                }
                MouseArea {
                    anchors.fill: parent
                    cursorShape: pressed ? Qt.ClosedHandCursor : Qt.OpenHandCursor
                    preventStealing: true
                    onPressed: row.dragStarted()
                    onPositionChanged: mouse => row.dragMoved(mapToItem(row, mouse.x, mouse.y).y)
                    onReleased: row.dragFinished()
                    onCanceled: row.dragFinished()
                }
            }
        }
    }

    HoverHandler {
        id: hover
    }
    TapHandler {
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: (eventPoint, button) => row.selectRequested()
        onDoubleTapped: (eventPoint, button) => row.playRequested()
    }
}
