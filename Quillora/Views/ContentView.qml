import QtQuick
import Quillora

// The main screen: a slanted band behind the pager, the selected station's
// title and genre, the song on air, the transport buttons and the volume
// slider. Everything it shows comes from the player; it starts the catalogue
// load when the pager first comes on screen.
Item {
    id: root

    required property Player player
    // The songs heard lately; none: the song line offers no list.
    property RecentlyPlayed recentlyPlayed: null
    // Keeps the songs heard; none: no record switch.
    property Recorder recorder: null
    // Where the stations come from and how their last load went; none in
    // screens built without one (the pager then turns while it is empty).
    property ActiveCatalogue catalogue: null
    // Whether the band shows the edges of the cards beside the selected one
    // (a wide window has the room).
    property bool showsNeighbours: false
    readonly property bool hasStations: root.player.stationModel.count > 0
    readonly property PlaybackSession session: root.player.session

    Rectangle {
        anchors.fill: parent
        color: Theme.background
    }

    // The band: its lower edge runs from 380 points at the left edge up to
    // 320 at the right, whatever the width. A rectangle down to 320, and a
    // rotated one whose lower edge is the slant: plain antialiased
    // rectangles draw at once on every scene graph backend.
    Item {
        id: band
        objectName: "band"
        anchors.fill: parent
        readonly property real slope: 60 / Math.max(1, width)

        Rectangle {
            y: -100
            width: parent.width
            height: 420
            color: Theme.primary
        }
        Rectangle {
            // Starts a little left of the window on the slanted line.
            x: -20
            y: 380 + 20 * band.slope - height
            width: (band.width + 40) * Math.sqrt(1 + band.slope * band.slope)
            height: 120
            transformOrigin: Item.BottomLeft
            rotation: -Math.atan(band.slope) * 180 / Math.PI
            color: Theme.primary
            antialiasing: true
        }
    }

    // The two buttons at the top come first in the keyboard's order, as in
    // reading order, and lie above the pager.
    IconButton {
        objectName: "stationsButton"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.margins: 12
        z: 1
        glyph: "antenna.radiowaves.left.and.right"
        color: Theme.textOnPrimary
        Accessible.name: qsTr("Stations")
        onClicked: root.stationsRequested()
    }

    IconButton {
        id: searchButton
        objectName: "searchButton"
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 12
        z: 1
        glyph: "magnifyingglass"
        color: Theme.textOnPrimary
        Accessible.name: qsTr("Search stations")
        onClicked: root.searchRequested()
    }

    IconButton {
        objectName: "settingsButton"
        anchors.top: parent.top
        anchors.right: searchButton.left
        anchors.topMargin: 12
        z: 1
        glyph: "gearshape"
        color: Theme.textOnPrimary
        Accessible.name: qsTr("Settings")
        onClicked: root.settingsRequested()
    }

    // The screen's column: the pager, the station's lines and the song
    // above, the controls below. The space above the pager, above the
    // controls and below them is at least 50, 20 and 40 points, and grows in
    // that proportion into the room a taller window leaves.
    readonly property real spread: Math.max(1, (root.height - upper.height - lower.height - 80) / 110)

    Column {
        id: upper
        y: Math.round(50 * root.spread) + 10
        width: root.width
        spacing: 10

        PlayerView {
            id: pager
            objectName: "pager"
            width: parent.width
            height: 360
            pages: root.player.stationModel
            // A neighbour's card shows this much at each side; the gap
            // between cards never gets narrower than 40.
            pageWidth: root.showsNeighbours ? Math.max(Math.min(width, 280), Math.round(width / 2 + 120 - 56)) : width
            index: root.player.selectedStationIndex
            onIndexRequested: index => root.player.selectedStationIndex = index
            busy: !root.catalogue || root.catalogue.status === ActiveCatalogue.Loading
            Component.onCompleted: root.player.loadStations()
        }

        Text {
            objectName: "title"
            // The full width even while empty: the column leaves out items
            // without width, and the pager must not move when text comes.
            x: 20
            width: root.width - 40
            horizontalAlignment: Text.AlignHCenter
            text: root.player.station ? root.player.station.title : ""
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            font: Theme.titleFont
            color: Theme.text
            elide: Text.ElideRight
            textFormat: Text.PlainText
        }

        // The genre; while the stream is being reopened, or has failed,
        // what happens in its place.
        Text {
            objectName: "genre"
            readonly property bool showsStatus: root.session.state === PlaybackSession.Reconnecting
                || root.session.state === PlaybackSession.Failed
            x: 20
            width: root.width - 40
            horizontalAlignment: Text.AlignHCenter
            text: {
                if (root.session.state === PlaybackSession.Reconnecting)
                    return root.session.retryInSeconds > 0
                        ? qsTr("Reconnecting in %1 s…").arg(root.session.retryInSeconds) : qsTr("Reconnecting…")
                if (root.session.state === PlaybackSession.Failed)
                    return root.session.reason
                return root.player.station ? root.player.station.genre : ""
            }
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            font: Theme.bodyFont
            color: root.session.state === PlaybackSession.Failed ? Theme.danger : Theme.secondaryText
            elide: Text.ElideRight
            textFormat: Text.PlainText
        }

        // The song on air; a click opens the songs heard lately, which the
        // line offers by name while no song is announced.
        // Beside it, the record switch when songs can be kept.
        Item {
            // The song's full text floats over the controls below.
            z: 1
            x: 20
            width: root.width - 40
            height: Math.max(songLine.implicitHeight, saveLastSong.visible ? saveLastSong.implicitHeight : 0,
                             recordSwitch.visible ? recordSwitch.implicitHeight : 0)

            SongLine {
                id: songLine
                objectName: "songLine"
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - (saveLastSong.visible ? saveLastSong.width + 10 : 0)
                       - (recordSwitch.visible ? recordSwitch.width + 10 : 0)
                height: implicitHeight
                song: root.session.songText
                placeholder: root.recentlyPlayed && root.recentlyPlayed.count > 0 ? qsTr("Recently played") : ""
                onClicked: root.recentlyPlayedRequested()
            }
            // Mode decide: the song just heard waits in the cache; this
            // keeps it without opening the list.
            SmallButton {
                id: saveLastSong
                objectName: "saveLastSongButton"
                anchors.verticalCenter: parent.verticalCenter
                x: songLine.width + 10
                visible: root.recorder !== null && root.recorder.decides
                         && root.recorder.lastCachedSong.length > 0
                text: qsTr("Save last song")
                Accessible.name: root.recorder ? qsTr("Save %1").arg(root.recorder.lastCachedSong) : ""
                onClicked: {
                    const song = root.recorder.lastCachedSong
                    root.recorder.saveLastCached()
                    if (root.recorder.lastCachedSong.length === 0)
                        Notices.show(qsTr("Saved %1").arg(song))
                }
            }
            RecordSwitch {
                id: recordSwitch
                objectName: "recordSwitch"
                anchors.verticalCenter: parent.verticalCenter
                anchors.right: parent.right
                // Each recording problem is said once (the recorder keeps
                // it from repeating); listening goes on.
                Connections {
                    target: root.recorder
                    function onMessageChanged() {
                        if (root.recorder.message.length > 0)
                            Notices.showError(root.recorder.message)
                    }
                }
                visible: root.recorder !== null
                checked: root.recorder ? root.recorder.keeping : false
                writing: root.recorder ? root.recorder.writing : false
                onToggled: root.recorder.keeping = !root.recorder.keeping
            }
        }

        // My stations: a station played from outside the catalogue says so,
        // with the action that keeps it (see the block at the end).
        LazyItem {
            x: 20
            width: root.width - 40
            visible: root.player.isGuest
            needed: root.player.isGuest
            sourceComponent: GuestMarker {
                objectName: "guestMarker"
                canAdd: root.canEditStations
                catalogueName: root.stationsName
                reason: root.editUnavailableReason
                onKeepRequested: root.keepGuestRequested()
            }
        }
    }

    Column {
        id: lower
        y: upper.y + upper.height + Math.round(20 * root.spread) + 20
        width: root.width
        // The volume slider keeps 40 points from the buttons.
        spacing: 50

        Row {
            x: Math.round((root.width - width) / 2)
            spacing: 10

            TransportButton {
                objectName: "previousButton"
                anchors.verticalCenter: parent.verticalCenter
                glyph: "backward.end.alt.fill"
                Accessible.name: qsTr("Previous station")
                enabled: root.hasStations
                onClicked: root.player.prev()
            }

            PlayButton {
                objectName: "playButton"
                anchors.verticalCenter: parent.verticalCenter
                playing: root.player.isPlaying
                busy: root.session.state === PlaybackSession.Connecting
                    || root.session.state === PlaybackSession.Reconnecting
                enabled: root.hasStations
                onClicked: root.player.togglePlayback()
            }

            TransportButton {
                objectName: "nextButton"
                anchors.verticalCenter: parent.verticalCenter
                glyph: "forward.end.alt.fill"
                Accessible.name: qsTr("Next station")
                enabled: root.hasStations
                onClicked: root.player.next()
            }
        }

        VolumeSlider {
            objectName: "volumeSlider"
            x: Math.round((root.width - width) / 2)
            // A sensible width on a wide window too.
            width: Math.min(360, root.width - 80)
            enabled: root.hasStations
            value: root.player.volume
            onMoved: root.player.volume = value
        }
    }

    // ---- My stations: the guest's card, the card's context menu --------
    // Set by the window from the catalogue in use.
    property bool canEditStations: true
    property string stationsName: qsTr("My stations")
    property string editUnavailableReason
    // The guest marker's action: add the station playing, or copy its row.
    signal keepGuestRequested()
    // A right click or a long press on the card, at `position` of this item.
    signal stationMenuRequested(point position)
    // Where the card is, for a menu opened from the keyboard.
    readonly property point cardCentre: Qt.point(pager.x + pager.width / 2, upper.y + pager.y + pager.height / 2)

    // A station played from outside the catalogue shows its own card in
    // the pager's place; the catalogue's cards come back when it leaves or
    // becomes one of them (the pager then slides to it).
    property real guestShown: root.player.isGuest ? 1 : 0
    Behavior on guestShown { NumberAnimation { duration: 220 } }
    Binding {
        target: pager
        property: "opacity"
        value: 1 - root.guestShown
    }
    // The guest's record, kept while its card fades out.
    property var guestStation: null
    Connections {
        target: root.player
        function onStationChanged() {
            if (root.player.isGuest)
                root.guestStation = root.player.station
        }
    }
    LazyItem {
        x: pager.x
        y: upper.y + pager.y
        width: pager.width
        height: pager.height
        needed: root.player.isGuest
        sourceComponent: StationView {
            objectName: "guestCard"
            image: root.guestStation ? root.guestStation.image : ""
            title: root.guestStation ? root.guestStation.title : ""
            opacity: root.guestShown
            visible: opacity > 0
        }
    }

    // The card's menu: a right click, or a long press on a touch screen.
    Item {
        objectName: "cardMenuArea"
        x: root.cardCentre.x - 120
        y: root.cardCentre.y - 120
        width: 240
        height: 240
        enabled: root.player.station !== undefined && root.player.station !== null

        TapHandler {
            acceptedButtons: Qt.RightButton
            onTapped: eventPoint => root.stationMenuRequested(parent.mapToItem(root, eventPoint.position))
        }
        TapHandler {
            acceptedDevices: PointerDevice.TouchScreen
            onLongPressed: root.stationMenuRequested(parent.mapToItem(root, point.position))
        }
    }

    // The song line asks for the list of songs heard lately.
    signal recentlyPlayedRequested()

    // ---- Discover: the button that opens the search of the station directory
    signal searchRequested()
    // The gear button: the Settings sheet.
    signal settingsRequested()

    // ---- Catalogue: where the stations come from, and what became of them
    // The Stations sheet's button mirrors the magnifier; where the pager has
    // no card, why (a failed load, an empty catalogue); a note while the
    // stations shown are not the latest.
    signal stationsRequested()


    // Built the first time the pager has no card to show.
    LazyItem {
        x: pager.x
        y: upper.y + pager.y
        width: pager.width
        height: pager.height
        needed: !root.hasStations && root.catalogue !== null
                && (root.catalogue.status === ActiveCatalogue.Failed || root.catalogue.status === ActiveCatalogue.Loaded)
        sourceComponent: CatalogueStateView {
            catalogue: root.catalogue
            hasStations: root.hasStations
            onStationsRequested: root.stationsRequested()
            onDiscoverRequested: root.searchRequested()
        }
    }

    LazyItem {
        anchors.top: parent.top
        anchors.topMargin: 20
        anchors.horizontalCenter: parent.horizontalCenter
        needed: root.hasStations && root.catalogue !== null && root.catalogue.note.length > 0
        sourceComponent: OfflineNote {
            maximumWidth: root.width - 2 * 68
            text: root.hasStations && root.catalogue ? root.catalogue.note : ""
            onRetryRequested: root.catalogue.retry()
        }
    }
}
