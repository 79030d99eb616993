pragma Singleton
import QtQuick
import Quillora

// The application's one palette, each colour with a light and a dark
// variant, and its one scale of spacing, corner radii and type sizes. No
// other file names a colour: they take it from here (with alpha() for a
// translucent shade of one).
QtObject {
    readonly property bool dark: ColorScheme.dark

    // ---- Palette

    // The band, prominent buttons, the selection.
    readonly property color primary: dark ? "#7b61ff" : "#5b3cc4"
    readonly property color secondary: dark ? "#d9d4f2" : "#3b3552"
    readonly property color background: dark ? "#16131f" : "#f3f1f9"
    readonly property color text: dark ? "#f4f2fb" : "#1d1a26"
    readonly property color secondaryText: dark ? "#b6b0cc" : "#5d5873"
    // Text and glyphs on the primary colour, on logos and on the initials'
    // tiles, in both schemes.
    readonly property color textOnPrimary: "#ffffff"
    // Under shadows and scrims.
    readonly property color shadow: "#000000"

    // The sheets that rise over the main screen, the station list.
    readonly property color surface: dark ? "#211d2c" : "#ffffff"
    // Behind the main screen while a sheet is open.
    readonly property color backdrop: dark ? alpha(shadow, 0.55) : Qt.rgba(0.08, 0.05, 0.16, 0.38)
    // Search fields, chips, quiet buttons.
    readonly property color fill: dark ? "#2f2a3e" : "#eeebf6"
    readonly property color separator: dark ? "#353047" : "#e7e4ef"
    readonly property color handle: dark ? "#4d4760" : "#cfcbdc"
    // The row the keyboard is on.
    readonly property color highlight: dark ? Qt.rgba(0.48, 0.38, 1, 0.22) : Qt.rgba(0.36, 0.24, 0.77, 0.10)
    // Text and glyphs in the accent colour on a surface.
    readonly property color accent: dark ? "#b9a8ff" : "#5b3cc4"
    readonly property color focusRing: accent

    // What is wrong: why a stream failed, a form field's problem, a
    // destructive action, a catalogue that could not be read.
    readonly property color danger: dark ? "#ff8a80" : "#b3261e"
    // Behind a message about what went wrong.
    readonly property color dangerFill: dark ? "#3b2025" : "#fdecea"

    // The notice at the bottom of the window stands out in the other
    // scheme's colours.
    readonly property color inverseSurface: dark ? "#ece9f6" : "#2a2535"
    readonly property color inverseText: dark ? "#1d1a26" : "#f4f2fb"
    readonly property color inverseAccent: dark ? "#5b3cc4" : "#b9a8ff"
    readonly property color inverseDanger: dark ? "#b3261e" : "#ff8a80"

    // A bubble with a line's whole text, and its edge on the dark scheme.
    readonly property color tooltip: dark ? "#2f2a3e" : "#2b2737"
    readonly property color tooltipEdge: "#4d4760"

    // Tiles standing in for missing logos; white letters read on each of
    // them (contrast 4:1 or more).
    readonly property var tileColors: ["#5b3cc4", "#c4487a", "#2a8277", "#b36a22", "#3c79c4", "#8a4cc4", "#4f8a3a",
        "#b5523b"]

    // The colour `c` with opacity `a`.
    function alpha(c, a) {
        return Qt.rgba(c.r, c.g, c.b, a)
    }

    // ---- Spacing: steps of four points

    readonly property int spacingTiny: 4
    readonly property int spacingSmall: 8
    readonly property int spacing: 12
    readonly property int spacingLarge: 16
    readonly property int spacingHuge: 20

    // ---- Corner radii

    readonly property real radiusSmall: 8
    // Logo tiles, list rows.
    readonly property real radiusTile: 10
    // Fields, menus, message boxes.
    readonly property real radius: 12
    // A sheet's top corners, a marker's.
    readonly property real radiusLarge: 16
    // A station's card and its shadow.
    readonly property real radiusCard: 60

    // ---- Type sizes, largest first, and the text styles made of them

    readonly property int titleSize: 28
    readonly property int headingSize: 20
    readonly property int bodySize: 17
    readonly property int rowTitleSize: 16
    readonly property int calloutSize: 15
    readonly property int labelSize: 14
    readonly property int detailSize: 13

    // The selected station's title and genre on the main screen.
    readonly property font titleFont: Qt.font({ pixelSize: titleSize, weight: Font.DemiBold })
    readonly property font bodyFont: Qt.font({ pixelSize: bodySize })
    // The song on air, under the station's title and genre.
    readonly property font songFont: Qt.font({ pixelSize: calloutSize, weight: Font.Medium })
    // A sheet's heading, and what the empty screen says.
    readonly property font headingFont: Qt.font({ pixelSize: headingSize, weight: Font.DemiBold })
    readonly property font fieldFont: bodyFont
    readonly property font rowTitleFont: Qt.font({ pixelSize: rowTitleSize, weight: Font.DemiBold })
    readonly property font calloutFont: Qt.font({ pixelSize: calloutSize })
    readonly property font detailFont: Qt.font({ pixelSize: detailSize })
    readonly property font chipFont: Qt.font({ pixelSize: labelSize })
    readonly property font buttonFont: Qt.font({ pixelSize: labelSize, weight: Font.DemiBold })

    function icon(name, color) {
        return "image://icons/" + name + "/" + color
    }
}
