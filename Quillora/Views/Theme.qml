pragma Singleton
import QtQuick
import Quillora

// The application's named colours, with a light and a dark variant each, and
// the two text styles of the main screen.
QtObject {
    readonly property bool dark: ColorScheme.dark

    readonly property color primary: dark ? "#7b61ff" : "#5b3cc4"
    readonly property color secondary: dark ? "#d9d4f2" : "#3b3552"
    readonly property color background: dark ? "#16131f" : "#f3f1f9"
    readonly property color text: dark ? "#f4f2fb" : "#1d1a26"
    readonly property color secondaryText: dark ? "#b6b0cc" : "#5d5873"
    // Text that says something went wrong, such as why a stream failed.
    readonly property color attention: dark ? "#ff8a80" : "#b3261e"

    readonly property font titleFont: Qt.font({ pixelSize: 28, weight: Font.DemiBold })
    readonly property font bodyFont: Qt.font({ pixelSize: 17 })
    // The song on air, under the station's title and genre.
    readonly property font songFont: Qt.font({ pixelSize: 15, weight: Font.Medium })

    function icon(name, color) {
        return "image://icons/" + name + "/" + color
    }
}
