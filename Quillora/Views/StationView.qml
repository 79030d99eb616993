import QtQuick
import Quillora
import QtQuick.Window
import RemoteImage

// One page of the pager: the station's logo on a white rounded card with a
// faint outline and a soft shadow. The card follows the current record of
// its row, so a reloaded catalogue with a new logo address shows the new logo.
Item {
    id: page

    required property string image
    required property string title
    // Set while the card only flies past: its download starts late enough
    // to be cancelled when the card leaves the screen a frame later. A
    // cached logo still shows at once.
    property bool holdsLogoBack: false

    Item {
        id: card
        width: 240
        height: 240
        anchors.centerIn: parent

        BoxShadow {
            anchors.fill: parent
            cornerRadius: 60
            blurRadius: 20
            color: Theme.alpha(Theme.shadow, 0.33)
        }

        Rectangle {
            anchors.fill: parent
            radius: Theme.radiusCard
            color: Theme.textOnPrimary
            antialiasing: true
        }

        RemoteImage {
            id: logo
            objectName: "logo"
            anchors.fill: parent
            url: page.image
            // Logos come in every size; the card needs no more than its own.
            fitSize: Qt.size(240, 240)
            delay: page.holdsLogoBack ? 0.3 : 0
            // No logo, or not (yet) loaded: the station's initials.
            placeholder: Component {
                CardPlaceholder {
                    width: 240
                    height: 240
                    name: page.title
                    waitsForLogo: page.image.length > 0
                }
            }
            content: Component {
                RoundedImage {
                    anchors.fill: parent
                    radius: Theme.radiusCard
                }
            }
        }

        Rectangle {
            anchors.fill: parent
            radius: Theme.radiusCard
            color: "transparent"
            antialiasing: true
            border.width: 1
            border.color: Theme.alpha(Theme.background, 0.4)
        }

        Accessible.role: Accessible.Graphic
        Accessible.name: qsTr("%1 logo").arg(page.title)
    }
}
