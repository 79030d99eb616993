import QtQuick
import QtQuick.Window
import Quillora

// What the pager's place says while there is no card to show: why the
// catalogue did not load, with Retry; or that it holds no station, with the
// ways to find some. While a catalogue is on its way the pager's own
// indicator turns instead, and this shows nothing.
Item {
    id: view
    objectName: "catalogueState"

    property ActiveCatalogue catalogue: null
    property bool hasStations: false
    signal stationsRequested()
    signal discoverRequested()

    readonly property int status: view.catalogue ? view.catalogue.status : ActiveCatalogue.Loading
    readonly property bool failed: !view.hasStations && view.status === ActiveCatalogue.Failed
    readonly property bool empty: !view.hasStations && view.status === ActiveCatalogue.Loaded

    visible: view.failed || view.empty

    Column {
        anchors.centerIn: parent
        width: Math.min(view.width - 64, 360)
        spacing: Theme.spacingLarge

        Image {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 36
            height: 36
            sourceSize: Qt.size(36 * Screen.devicePixelRatio, 36 * Screen.devicePixelRatio)
            source: Theme.icon(view.failed ? "wifi.slash" : "antenna.radiowaves.left.and.right", Theme.textOnPrimary)
            opacity: 0.85
            Accessible.ignored: true
        }

        Text {
            objectName: "catalogueFailure"
            width: parent.width
            visible: view.failed
            text: view.catalogue ? view.catalogue.failureMessage : ""
            font: Theme.bodyFont
            color: Theme.textOnPrimary
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        Column {
            width: parent.width
            spacing: 6
            visible: view.empty

            Text {
                objectName: "catalogueEmpty"
                width: parent.width
                text: view.catalogue && view.catalogue.isMyStations ? qsTr("My stations is empty")
                    : qsTr("%1 holds no station").arg(view.catalogue ? view.catalogue.sourceName : "")
                font: Theme.headingFont
                color: Theme.textOnPrimary
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
            }
            Text {
                width: parent.width
                text: qsTr("Find stations in the directory, or choose another catalogue.")
                font: Theme.calloutFont
                color: Theme.alpha(Theme.textOnPrimary, 0.85)
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
            }
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 10

            SmallButton {
                objectName: "catalogueRetry"
                visible: view.failed
                text: qsTr("Retry")
                onClicked: view.catalogue.retry()
            }
            SmallButton {
                objectName: "catalogueDiscover"
                visible: view.empty
                text: qsTr("Discover")
                onClicked: view.discoverRequested()
            }
            SmallButton {
                objectName: "catalogueChoose"
                text: qsTr("Stations…")
                onClicked: view.stationsRequested()
            }
        }
    }
}
