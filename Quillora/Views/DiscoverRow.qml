pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Window
import Quillora
import RemoteImage

// One result of a directory search: the logo (or a tile with the initials
// until it is there), the name, the tags, and country, codec and bit rate;
// a button to keep the station. A click on the row asks to listen.
Item {
    id: row
    objectName: "discoverRow"

    required property int index
    required property string name
    required property string favicon
    required property string tagsText
    required property string countryCode
    required property string codec
    required property int bitrate

    property bool canAdd: true
    property bool current: false
    signal listenRequested()
    // Add to My stations, or copy as a CSV row when adding is not possible.
    signal addRequested()

    readonly property string details: {
        const parts = []
        if (row.countryCode.length > 0)
            parts.push(CountryNames.nameOf(row.countryCode))
        if (row.codec.length > 0)
            parts.push(row.codec)
        if (row.bitrate > 0)
            parts.push(qsTr("%1 kbit/s").arg(row.bitrate))
        return parts.join(" · ")
    }

    implicitHeight: 76
    Accessible.role: Accessible.ListItem
    Accessible.name: row.name + (row.tagsText.length > 0 ? ", " + row.tagsText : "")
        + (row.details.length > 0 ? ", " + row.details : "")
    Accessible.selected: row.current
    Accessible.onPressAction: row.listenRequested()

    Rectangle {
        anchors.fill: parent
        anchors.topMargin: 2
        anchors.bottomMargin: 2
        radius: Theme.radius
        color: row.current ? Theme.highlight : (hover.hovered ? Theme.fill : "transparent")
    }

    Item {
        id: logo
        x: 8
        anchors.verticalCenter: parent.verticalCenter
        width: 48
        height: 48

        // Logos with transparent parts read well on white in both schemes.
        // A point smaller than the logo, so no white fringe shows round it.
        Rectangle {
            anchors.fill: parent
            anchors.margins: 1
            radius: 9
            color: Theme.textOnPrimary
        }
        RemoteImage {
            objectName: "rowLogo"
            anchors.fill: parent
            url: row.favicon
            fitSize: Qt.size(48, 48)
            placeholder: Component {
                InitialsTile {
                    width: 48
                    height: 48
                    name: row.name
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
        anchors.right: button.left
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        spacing: 2

        Text {
            objectName: "rowName"
            width: parent.width
            text: row.name
            font: Theme.rowTitleFont
            color: Theme.text
            elide: Text.ElideRight
            textFormat: Text.PlainText
        }
        Text {
            width: parent.width
            visible: text.length > 0
            text: row.tagsText
            font: Theme.detailFont
            color: Theme.secondaryText
            elide: Text.ElideRight
            textFormat: Text.PlainText
        }
        Text {
            objectName: "rowDetails"
            width: parent.width
            visible: text.length > 0
            text: row.details
            font: Theme.detailFont
            color: Theme.secondaryText
            elide: Text.ElideRight
            textFormat: Text.PlainText
        }
    }

    SmallButton {
        id: button
        objectName: "rowAddButton"
        anchors.right: parent.right
        anchors.rightMargin: Theme.spacingSmall
        anchors.verticalCenter: parent.verticalCenter
        text: row.canAdd ? qsTr("Add") : qsTr("Copy as CSV row")
        activeFocusOnTab: false
        onClicked: row.addRequested()
    }

    HoverHandler {
        id: hover
        cursorShape: Qt.PointingHandCursor
    }
    // Drag threshold: a drag flicks the list instead.
    TapHandler {
        onTapped: row.listenRequested()
    }
}
