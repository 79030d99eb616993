import QtQuick
import Quillora
import QtQuick.Window

// The application's one window. Keys: space plays or stops, left and right
// change the station, up and down set the volume.
Window {
    id: window

    required property Player player
    // Where the stations come from, and what became of the last load.
    required property ActiveCatalogue catalogue
    // The songs heard lately.
    required property RecentlyPlayed recentlyPlayed
    // The Discover sheet's search of the station directory.
    required property DirectorySearchModel directory
    // The desktop settings and the sleep timer (the Settings sheet).
    property Preferences preferences: null
    property SleepTimer sleepTimer: null
    // Keeps the songs heard (the record switch, Save in the recently played
    // list); none in screens built without one.
    property Recorder recorder: null

    width: 440
    height: 800
    minimumWidth: 360
    minimumHeight: 640
    visible: true
    color: Theme.background
    // "Song — Station — Quillora", as much of it as is known.
    // Joined, not formatted: a song may itself contain "%1".
    title: [player.session.songText, player.station ? player.station.title : "", "Quillora"]
        .filter(part => part.length > 0).join(" — ")

    // The screen needs about 800 points of height; a shorter window (a
    // laptop screen with panels) shows it scaled down rather than cut off.
    readonly property real fit: Math.min(1, height / 800)

    // From about 740 points wide (a desktop window, a tablet in landscape)
    // the stations are listed beside the player; a narrower window (a
    // phone, a tablet in portrait) shows the player alone.
    readonly property bool wide: width >= 740
    readonly property real listWidth: wide ? Math.round(Math.min(420, Math.max(300, width * 0.32))) : 0

    // First in the keyboard's order, as in reading order.
    Loader {
        id: stationList
        objectName: "stationListLoader"
        active: window.wide
        width: window.listWidth
        height: window.height
        sourceComponent: StationList {
            player: window.player
            catalogue: window.catalogue
            touch: TouchScreen.present
        }
    }

    ContentView {
        id: content
        objectName: "contentView"
        x: window.listWidth
        // The band reaches past its left edge, which the list then shows.
        clip: window.wide
        showsNeighbours: window.wide
        width: (window.width - window.listWidth) / window.fit
        height: window.height / window.fit
        scale: window.fit
        transformOrigin: Item.TopLeft
        player: window.player
        recentlyPlayed: window.recentlyPlayed
        recorder: window.recorder
        catalogue: window.catalogue
    }

    Shortcut {
        sequences: ["Space", "Media Play", "Toggle Media Play/Pause"]
        enabled: content.hasStations
        onActivated: window.player.togglePlayback()
    }
    Shortcut {
        sequences: [StandardKey.Back, "Left", "Media Previous"]
        enabled: content.hasStations
        onActivated: window.player.prev()
    }
    Shortcut {
        sequences: [StandardKey.Forward, "Right", "Media Next"]
        enabled: content.hasStations
        onActivated: window.player.next()
    }
    Shortcut {
        sequence: "Up"
        enabled: content.hasStations
        onActivated: window.player.volume = Math.min(1, Math.round(window.player.volume * 10 + 1) / 10)
    }
    Shortcut {
        sequence: "Down"
        enabled: content.hasStations
        onActivated: window.player.volume = Math.max(0, Math.round(window.player.volume * 10 - 1) / 10)
    }
    // Ctrl+Q quits; Ctrl+W closes the window as its close button does
    // (which keeps a station playing in the background).
    Shortcut {
        sequence: StandardKey.Quit
        context: Qt.ApplicationShortcut
        onActivated: Qt.quit()
    }
    Shortcut {
        sequence: "Ctrl+W"
        onActivated: window.close()
    }
    Binding {
        target: ColorScheme
        property: "preference"
        value: window.preferences ? window.preferences.colorScheme : "system"
    }

    // ---- Settings, and the sleep timer's countdown -----------------------
    function openSettings() {
        if (settings.item)
            settings.item.open()
        else
            settings.source = "SettingsSheet.qml"
    }
    Shortcut {
        sequences: [StandardKey.Preferences, "Ctrl+,"]
        onActivated: window.openSettings()
    }
    Connections {
        target: content
        function onSettingsRequested() { window.openSettings() }
    }
    LazyItem {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12
        // Declared before the sheets: an open sheet covers it.
        readonly property bool counting: window.sleepTimer !== null && window.sleepTimer.active
        visible: counting
        needed: counting
        sourceComponent: SmallButton {
            objectName: "sleepTimerChip"
            text: {
                const seconds = window.sleepTimer ? window.sleepTimer.remainingSeconds : 0
                const rest = seconds % 60
                return qsTr("Stops in %1").arg(Math.floor(seconds / 60) + ":" + (rest < 10 ? "0" : "") + rest)
            }
            Accessible.description: qsTr("Opens the settings to change or cancel the sleep timer.")
            onClicked: window.openSettings()
        }
    }
    Loader {
        id: settings
        objectName: "settingsLoader"
        anchors.fill: parent
        onLoaded: {
            const sheet = settings.item
            sheet.preferences = window.preferences
            sheet.sleepTimer = window.sleepTimer
            sheet.playing = Qt.binding(() => window.player.isPlaying)
            sheet.open()
        }
    }

    // ---- Discover: searching the station directory -----------------------
    // The sheet is built the first time it opens (the search button or
    // Ctrl+F), so it costs the first frame nothing, and then kept with its
    // results. What it asks for leaves the window through the three signals
    // below; whether it can add comes in through the two properties.

    // Plays the result now, without changing the catalogue.
    signal listenToDirectoryStation(int row)
    onListenToDirectoryStation: row => window.player.listenTo(window.directory.playableStationAt(row))
    // Adds the result to the catalogue in use (My stations); its card
    // appears when the file has been written and read back.
    signal addDirectoryStation(int row)
    onAddDirectoryStation: row => editing.add(window.directory.catalogueRowAt(row))
    // A catalogue Quillora cannot write: the row goes to the clipboard, for
    // pasting into the spreadsheet.
    signal copyDirectoryStationRow(int row)
    onCopyDirectoryStationRow: row => editing.copyRow(window.directory.catalogueRowAt(row))
    // False while the active catalogue cannot be written; the reason is
    // shown in the sheet.
    property bool directoryCanAdd: window.catalogue.canEdit
    property string directoryAddUnavailableReason: window.catalogue.addUnavailableReason

    function openDiscover() { discover.open() }

    Shortcut {
        sequence: "Ctrl+F"
        onActivated: window.openDiscover()
    }
    Connections {
        target: content
        function onSearchRequested() { window.openDiscover() }
    }
    LazySheet {
        id: discover
        objectName: "discoverLoader"
        sheetSource: "DiscoverSheet.qml"
        onBuilt: sheet => {
            sheet.directory = window.directory
            sheet.canAdd = Qt.binding(() => window.directoryCanAdd)
            sheet.addUnavailableReason = Qt.binding(() => window.directoryAddUnavailableReason)
            sheet.listenRequested.connect(window.listenToDirectoryStation)
            sheet.addRequested.connect(window.addDirectoryStation)
            sheet.copyRowRequested.connect(window.copyDirectoryStationRow)
            sheet.addStationRequested.connect(editing.addStation)
        }
    }

    // ---- Recently played: the songs heard lately -------------------------
    // Opened from the song line or with Ctrl+H; built the first time.

    function openRecentlyPlayed() { recent.open() }

    Shortcut {
        sequence: "Ctrl+H"
        onActivated: window.openRecentlyPlayed()
    }
    Connections {
        target: content
        function onRecentlyPlayedRequested() { window.openRecentlyPlayed() }
    }
    LazySheet {
        id: recent
        objectName: "recentlyPlayedLoader"
        sheetSource: "RecentlyPlayedSheet.qml"
        onBuilt: sheet => {
            sheet.songs = window.recentlyPlayed
            sheet.recorder = window.recorder
            sheet.stationTitle = Qt.binding(() => window.player.station ? window.player.station.title : "")
            sheet.streamDetails = Qt.binding(() => window.player.session.streamDetails)
        }
    }
    // ---- Stations: where the catalogue comes from ------------------------
    // The sheet shows the catalogue in use and takes another: an address, a
    // CSV file, My stations. It is built the first time it opens (the
    // antenna button, Ctrl+L, the empty screen's button, a drop).

    function openStations() { stations.open() }
    // A CSV file or an address dropped on the window: the sheet shows what
    // becomes of it. Playlists and other players' lists are imported into
    // My stations instead.
    function useDroppedCatalogue(text, urls) {
        if (urls.length > 0 && window.catalogue.isImportable(urls[0])) {
            window.importStations(urls)
            return
        }
        window.openStations()
        window.catalogue.useAddress(text)
    }
    // Adds the files' stations to My stations, with Undo.
    function importStations(urls) {
        const result = window.catalogue.importFiles(urls)
        if (!result.ok)
            Notices.showError(result.message)
        else if (window.catalogue.canUndo)
            Notices.show(result.message, { actionText: qsTr("Undo"), action: () => window.catalogue.undoRemove(),
                                           key: "undo", duration: 0 })
        else
            Notices.show(result.message)
    }

    Shortcut {
        sequence: "Ctrl+L"
        onActivated: window.openStations()
    }
    Connections {
        target: content
        function onStationsRequested() { window.openStations() }
    }
    LazySheet {
        id: stations
        objectName: "stationsLoader"
        sheetSource: "StationsSheet.qml"
        onBuilt: sheet => {
            sheet.catalogue = window.catalogue
            sheet.importRequested.connect(urls => window.importStations(urls))
            sheet.stationCount = Qt.binding(() => window.player.stationModel.count)
        }
    }
    CatalogueDropArea {
        anchors.fill: parent
        onCatalogueDropped: (text, urls) => window.useDroppedCatalogue(text, urls)
    }

    // ---- My stations: the card's menu, the station form, notices -------
    // Editing the catalogue in use from the main screen (StationEditing),
    // and the one notice at the bottom of the window that every screen
    // posts to through Notices. Both lie above the sheets.
    StationEditing {
        id: editing
        objectName: "stationEditing"
        anchors.fill: parent
        z: 10
        player: window.player
        catalogue: window.catalogue
    }
    Toast {
        z: 11
    }
    Binding { target: content; property: "canEditStations"; value: window.catalogue.canEdit }
    Binding { target: content; property: "stationsName"; value: window.catalogue.sourceName }
    Binding { target: content; property: "editUnavailableReason"; value: window.catalogue.addUnavailableReason }
    Connections {
        target: content
        function onKeepGuestRequested() { editing.keepGuest() }
        function onStationMenuRequested(position) {
            const at = content.mapToItem(editing, position.x, position.y)
            editing.openMenu(at.x, at.y, false)
        }
    }
    // The main screen has the keyboard: no sheet or menu holds it.
    function screenHasFocus() {
        const focused = window.activeFocusItem
        if (!focused || focused === window.contentItem)
            return true
        for (let it = focused; it; it = it.parent) {
            if (it === content)
                return true
        }
        return false
    }
    Shortcut {
        sequences: ["Menu", "Shift+F10"]
        onActivated: {
            if (!window.screenHasFocus())
                return
            const at = content.mapToItem(editing, content.cardCentre.x, content.cardCentre.y)
            editing.openMenu(at.x, at.y, true)
        }
    }
    Shortcut {
        sequence: StandardKey.New
        onActivated: editing.addStation()
    }
    Shortcut {
        sequences: [StandardKey.Undo]
        enabled: window.catalogue.canUndo
        onActivated: window.catalogue.undoRemove()
    }
}
