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

    width: 440
    height: 800
    minimumWidth: 360
    minimumHeight: 640
    visible: true
    color: Theme.background
    title: player.station ? qsTr("%1 — Quillora").arg(player.station.title) : "Quillora"

    // The screen needs about 800 points of height; a shorter window (a
    // laptop screen with panels) shows it scaled down rather than cut off.
    readonly property real fit: Math.min(1, height / 800)

    ContentView {
        id: content
        objectName: "contentView"
        width: window.width / window.fit
        height: window.height / window.fit
        scale: window.fit
        transformOrigin: Item.TopLeft
        player: window.player
    }

    Shortcut {
        sequences: ["Space", "Media Play", "Toggle Media Play/Pause"]
        enabled: content.hasStations
        onActivated: window.player.tooglePlayback()
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
    Shortcut {
        sequences: [StandardKey.Quit, "Ctrl+W"]
        onActivated: Qt.quit()
    }
}
