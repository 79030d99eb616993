import QtQuick
import Quillora
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Shapes

// The main screen: a slanted band behind the pager, the selected station's
// title and genre, the transport buttons and the volume slider. Everything
// it shows comes from the player; it starts the catalogue load when the
// pager first comes on screen.
Item {
    id: root

    required property Player player
    readonly property bool hasStations: stationModel.count > 0

    StationListModel {
        id: stationModel
        player: root.player
    }

    Rectangle {
        anchors.fill: parent
        color: Theme.background
    }

    // The band: its lower edge runs from 380 points at the left edge up to
    // 320 at the right, whatever the width.
    Shape {
        id: band
        objectName: "band"
        anchors.fill: parent
        // Multisampling smooths the slanted edge under OpenGL; the software
        // renderer antialiases by itself.
        layer.enabled: GraphicsInfo.api !== GraphicsInfo.Software
        layer.samples: 4
        ShapePath {
            strokeWidth: -1
            fillColor: Theme.primary
            startX: 0; startY: -100
            PathLine { x: band.width; y: -100 }
            PathLine { x: band.width; y: 320 }
            PathLine { x: 0; y: 380 }
            PathLine { x: 0; y: -100 }
        }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 10

        Item { Layout.fillHeight: true; Layout.minimumHeight: 50 }

        PlayerView {
            id: pager
            objectName: "pager"
            Layout.fillWidth: true
            Layout.preferredHeight: 360
            Layout.minimumHeight: 360
            Layout.maximumHeight: 360
            pages: stationModel
            index: root.player.selectedStationIndex
            onIndexRequested: index => root.player.selectedStationIndex = index
            Component.onCompleted: root.player.loadStations()
        }

        Label {
            objectName: "title"
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: root.width - 40
            text: root.player.station ? root.player.station.title : ""
            font: Theme.titleFont
            color: Theme.text
            elide: Text.ElideRight
            textFormat: Text.PlainText
        }

        Label {
            objectName: "genre"
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: root.width - 40
            text: root.player.station ? root.player.station.genre : ""
            font: Theme.bodyFont
            color: Theme.secondaryText
            elide: Text.ElideRight
            textFormat: Text.PlainText
        }

        Item { Layout.fillHeight: true; Layout.minimumHeight: 20 }

        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            spacing: 10

            TransportButton {
                objectName: "previousButton"
                glyph: "backward.end.alt.fill"
                Accessible.name: qsTr("Previous station")
                enabled: root.hasStations
                onClicked: root.player.prev()
            }

            PlayButton {
                objectName: "playButton"
                playing: root.player.isPlaying
                enabled: root.hasStations
                onClicked: root.player.tooglePlayback()
            }

            TransportButton {
                objectName: "nextButton"
                glyph: "forward.end.alt.fill"
                Accessible.name: qsTr("Next station")
                enabled: root.hasStations
                onClicked: root.player.next()
            }
        }

        VolumeSlider {
            objectName: "volumeSlider"
            Layout.fillWidth: true
            Layout.margins: 40
            enabled: root.hasStations
            value: root.player.volume
            onMoved: root.player.volume = value
        }

        Item { Layout.fillHeight: true; Layout.minimumHeight: 40 }
    }
}
