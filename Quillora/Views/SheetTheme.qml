pragma Singleton
import QtQuick
import Quillora

// Colours and text styles of the sheets that rise over the main screen (the
// Discover sheet, the station list, the recently played songs), in a light
// and a dark variant, next to the main screen's Theme.
QtObject {
    readonly property bool dark: Theme.dark

    readonly property color surface: dark ? "#211d2c" : "#ffffff"
    // Behind the main screen while a sheet is open.
    readonly property color backdrop: dark ? Qt.rgba(0, 0, 0, 0.55) : Qt.rgba(0.08, 0.05, 0.16, 0.38)
    // Search fields, chips, quiet buttons.
    readonly property color fill: dark ? "#2f2a3e" : "#eeebf6"
    readonly property color separator: dark ? "#353047" : "#e7e4ef"
    readonly property color handle: dark ? "#4d4760" : "#cfcbdc"
    // The row the keyboard is on.
    readonly property color highlight: dark ? Qt.rgba(0.48, 0.38, 1, 0.22) : Qt.rgba(0.36, 0.24, 0.77, 0.10)
    // Text and glyphs in the accent colour on the sheet's surface.
    readonly property color accent: dark ? "#b9a8ff" : "#5b3cc4"
    readonly property color focusRing: dark ? "#b9a8ff" : "#5b3cc4"
    // What is wrong (a form field's problem, a destructive action).
    readonly property color danger: dark ? "#ff8a8f" : "#c8302f"

    readonly property font headingFont: Qt.font({ pixelSize: 20, weight: Font.DemiBold })
    readonly property font fieldFont: Qt.font({ pixelSize: 17 })
    readonly property font rowTitleFont: Qt.font({ pixelSize: 16, weight: Font.DemiBold })
    readonly property font detailFont: Qt.font({ pixelSize: 13 })
    readonly property font chipFont: Qt.font({ pixelSize: 14 })
    readonly property font buttonFont: Qt.font({ pixelSize: 14, weight: Font.DemiBold })
}
