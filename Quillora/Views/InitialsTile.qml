import QtQuick
import Quillora

// Stands in for a logo that is not there (yet): a rounded tile in a colour
// picked from the name, with the name's initials. The same name always gets
// the same colour, so a list stays recognisable while logos arrive.
Rectangle {
    id: tile

    property string name
    // The letters' height as a share of the tile's.
    property real textScale: 0.38


    function initials(text) {
        const words = text.split(/[\s\-_.,:;!?'"()\[\]{}\/\\&+|*#@~<>=]+/).filter(word => word.length > 0)
        const letters = words.slice(0, 2).map(word => String.fromCodePoint(word.codePointAt(0)))
        return letters.join("").toLocaleUpperCase()
    }
    function hash(text) {
        let h = 0
        for (let i = 0; i < text.length; ++i)
            h = (h * 31 + text.charCodeAt(i)) | 0
        return Math.abs(h)
    }

    implicitWidth: 48
    implicitHeight: 48
    radius: Theme.radiusTile
    color: Theme.tileColors[hash(name) % Theme.tileColors.length]

    Text {
        objectName: "initials"
        anchors.centerIn: parent
        text: tile.initials(tile.name)
        font.pixelSize: Math.round(tile.height * tile.textScale)
        font.weight: Font.DemiBold
        color: Theme.textOnPrimary
        textFormat: Text.PlainText
    }
}
