import QtQuick
import Quillora

// What a card shows where the station has no logo, or its logo does not
// load: the title's initials on a colour of the title's own, so that every
// station keeps a recognisable face. While a logo may still come, the white
// card stays plain for a moment first: a logo from the disk cache then
// replaces nothing but white, instead of flashing a colour.
InitialsTile {
    id: placeholder
    objectName: "cardPlaceholder"

    // The station has a logo address: wait before showing the initials.
    property bool waitsForLogo: false

    radius: Theme.radiusCard
    textScale: 0.3
    antialiasing: true
    opacity: waitsForLogo ? 0 : 1

    SequentialAnimation {
        running: placeholder.waitsForLogo
        PauseAnimation { duration: 400 }
        NumberAnimation {
            target: placeholder
            property: "opacity"
            to: 1
            duration: 200
            easing.type: Easing.OutCubic
        }
    }
}
