pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Window
import Quillora

// The Stations sheet: which catalogue is in use, and another to use instead:
// an address pasted (a published spreadsheet's CSV export, any CSV address,
// a file's path), a CSV file from the desktop's file dialog, or My stations
// again. The other catalogue is read while the cards of the one in use stay;
// one that cannot be read or holds no station is explained here and changes
// nothing.
//
// Keys: type or paste and Enter to use; Escape closes.
Sheet {
    id: sheet
    objectName: "stationsSheet"

    property ActiveCatalogue catalogue: null
    // How many stations the screen shows now.
    property int stationCount: 0

    // The cards stay in sight above the sheet.
    topMargin: Math.max(72, Math.round(height * 0.25))
    title: qsTr("Stations")
    Accessible.name: qsTr("Stations: the catalogue in use")
    initialFocusItem: field

    // Files chosen with Import…: the window imports them and says how it went.
    signal importRequested(var urls)

    readonly property bool switching: sheet.catalogue !== null && sheet.catalogue.isSwitching

    // Uses an address or a file's path; the sheet shows how it went.
    function use(text) {
        if (!sheet.catalogue || sheet.switching)
            return
        d.chooserMessage = ""
        d.asked = true
        sheet.catalogue.useAddress(text)
    }
    function useMyStations() {
        if (!sheet.catalogue || sheet.switching)
            return
        d.chooserMessage = ""
        d.asked = true
        sheet.catalogue.useMyStations()
    }

    QtObject {
        id: d
        // A choice made here is being read.
        property bool asked: false
        // Why the file dialog gave nothing.
        property string chooserMessage
    }

    Connections {
        target: sheet.catalogue
        // A choice that worked empties the field for the next one.
        function onSwitchingChanged() {
            if (!d.asked || sheet.catalogue.isSwitching)
                return
            d.asked = false
            if (sheet.catalogue.switchError.length === 0)
                field.clear()
        }
    }

    FileChooser {
        id: chooser
        onChosen: url => sheet.use(url.toString())
        onFailed: message => d.chooserMessage = message
    }

    FileChooser {
        id: importChooser
        onChosenFiles: urls => { if (urls.length > 0) sheet.importRequested(urls) }
        onFailed: message => Notices.showError(message)
    }
    FileChooser {
        id: exportChooser
        onChosen: url => {
            const result = sheet.catalogue.exportStations(url, "m3u")
            if (result.ok)
                Notices.show(result.message)
            else
                Notices.showError(result.message)
        }
        onFailed: message => Notices.showError(message)
    }

    Flickable {
        id: scroller
        anchors.fill: parent
        contentWidth: width
        contentHeight: column.height + 24
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Column {
            id: column
            width: scroller.width
            spacing: 12

            // ---- The catalogue in use
            Text {
                text: qsTr("In use")
                font: Theme.detailFont
                color: Theme.secondaryText
                textFormat: Text.PlainText
            }

            Item {
                width: parent.width
                height: Math.max(symbol.height, facts.height)

                Rectangle {
                    id: symbol
                    width: 44
                    height: 44
                    radius: Theme.radiusTile
                    color: Theme.primary
                    Image {
                        anchors.centerIn: parent
                        width: 24
                        height: 24
                        sourceSize: Qt.size(24 * Screen.devicePixelRatio, 24 * Screen.devicePixelRatio)
                        source: Theme.icon("antenna.radiowaves.left.and.right", Theme.textOnPrimary)
                    }
                }

                Column {
                    id: facts
                    anchors.left: symbol.right
                    anchors.leftMargin: 12
                    anchors.right: parent.right
                    spacing: 3

                    Text {
                        objectName: "sourceName"
                        width: parent.width
                        text: sheet.catalogue ? sheet.catalogue.sourceName : ""
                        font: Theme.rowTitleFont
                        color: Theme.text
                        elide: Text.ElideRight
                        textFormat: Text.PlainText
                    }
                    Text {
                        objectName: "sourceAddress"
                        width: parent.width
                        visible: text.length > 0
                        text: !sheet.catalogue ? ""
                            : (sheet.catalogue.isMyStations ? sheet.catalogue.filePath : sheet.catalogue.sourceAddress)
                        font: Theme.detailFont
                        color: Theme.secondaryText
                        wrapMode: Text.WrapAnywhere
                        maximumLineCount: 3
                        elide: Text.ElideMiddle
                        textFormat: Text.PlainText
                    }
                    Text {
                        objectName: "stationCount"
                        width: parent.width
                        visible: sheet.stationCount > 0
                        text: qsTr("%n station(s)", "", sheet.stationCount)
                        font: Theme.detailFont
                        color: Theme.secondaryText
                        textFormat: Text.PlainText
                    }
                    Text {
                        objectName: "skippedRows"
                        readonly property int rows: sheet.catalogue ? sheet.catalogue.skippedRows : 0
                        width: parent.width
                        visible: rows > 0
                        text: qsTr("%n row(s) could not be read", "", rows)
                        font: Theme.detailFont
                        color: Theme.danger
                        wrapMode: Text.Wrap
                        textFormat: Text.PlainText
                    }
                    Text {
                        objectName: "sourceProblem"
                        width: parent.width
                        visible: sheet.catalogue !== null && sheet.catalogue.status === ActiveCatalogue.Failed
                        text: !visible ? "" : (sheet.catalogue.note.length > 0 && sheet.catalogue.note !== sheet.catalogue.failureMessage
                            ? sheet.catalogue.note + "\n" + sheet.catalogue.failureMessage : sheet.catalogue.failureMessage)
                        font: Theme.detailFont
                        color: Theme.danger
                        wrapMode: Text.Wrap
                        textFormat: Text.PlainText
                    }
                }
            }

            SmallButton {
                objectName: "useMyStationsButton"
                visible: sheet.catalogue !== null && !sheet.catalogue.isMyStations
                enabled: !sheet.switching
                text: qsTr("Use My stations")
                onClicked: sheet.useMyStations()
            }

            // Playlists and other players' lists in; the stations in use out.
            Row {
                spacing: 12
                SmallButton {
                    objectName: "importButton"
                    enabled: sheet.catalogue !== null && importChooser.available && !importChooser.busy
                    text: qsTr("Import…")
                    Accessible.description: qsTr("Add the stations of playlists or other players' lists to My stations")
                    onClicked: importChooser.openStationLists(qsTr("Import stations"), sheet.Window.window)
                }
                SmallButton {
                    objectName: "exportButton"
                    enabled: sheet.catalogue !== null && sheet.stationCount > 0 && exportChooser.available
                             && !exportChooser.busy
                    text: qsTr("Export…")
                    Accessible.description: qsTr("Save the stations in use as a playlist")
                    onClicked: exportChooser.saveStationList(qsTr("Export stations"), "stations.m3u",
                                                             sheet.Window.window)
                }
            }

            Rectangle {
                width: parent.width
                height: 1
                color: Theme.separator
            }

            // ---- Another catalogue
            Column {
                width: parent.width
                spacing: 4

                Text {
                    text: qsTr("Use another catalogue")
                    font: Theme.rowTitleFont
                    color: Theme.text
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Text {
                    width: parent.width
                    text: qsTr("The CSV address of a published spreadsheet, any CSV address, or a CSV file on this computer.")
                    font: Theme.detailFont
                    color: Theme.secondaryText
                    wrapMode: Text.Wrap
                    textFormat: Text.PlainText
                }
            }

            Item {
                width: parent.width
                height: field.height

                SearchField {
                    id: field
                    objectName: "addressField"
                    anchors.left: parent.left
                    anchors.right: useButton.left
                    anchors.rightMargin: 8
                    glyph: "link"
                    placeholderText: qsTr("https://… or /path/to/stations.csv")
                    onAccepted: if (field.text.trim().length > 0) sheet.use(field.text)
                }
                SmallButton {
                    id: useButton
                    objectName: "useAddressButton"
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    height: 40
                    prominent: true
                    enabled: field.text.trim().length > 0 && !sheet.switching
                    text: qsTr("Use")
                    onClicked: sheet.use(field.text)
                }
            }

            Row {
                width: parent.width
                spacing: 12

                SmallButton {
                    id: openButton
                    objectName: "openFileButton"
                    enabled: chooser.available && !chooser.busy && !sheet.switching
                    text: qsTr("Open a CSV file…")
                    onClicked: chooser.openCsvFile(qsTr("Open a station catalogue"), sheet.Window.window)
                }
                Text {
                    objectName: "noFileDialog"
                    anchors.verticalCenter: parent.verticalCenter
                    width: parent.width - openButton.width - parent.spacing
                    visible: chooser.checked && !chooser.available
                    text: qsTr("No file dialog here: paste the file's path above.")
                    font: Theme.detailFont
                    color: Theme.secondaryText
                    wrapMode: Text.Wrap
                    textFormat: Text.PlainText
                }
            }

            // ---- How the choice went
            Row {
                objectName: "switchProgress"
                visible: sheet.switching
                spacing: 10

                ActivityIndicator {
                    anchors.verticalCenter: parent.verticalCenter
                    width: 22
                    height: 22
                    color: Theme.primary
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("Reading the catalogue…")
                    font: Theme.detailFont
                    color: Theme.secondaryText
                    textFormat: Text.PlainText
                }
            }

            Rectangle {
                id: problem
                objectName: "switchError"
                readonly property string message: sheet.switching ? ""
                    : (sheet.catalogue && sheet.catalogue.switchError.length > 0 ? sheet.catalogue.switchError
                                                                                  : d.chooserMessage)
                width: parent.width
                height: problemText.height + 20
                visible: message.length > 0
                radius: Theme.radius
                color: Theme.dangerFill
                Accessible.role: Accessible.AlertMessage
                Accessible.name: message

                Image {
                    id: problemGlyph
                    x: 12
                    y: 12
                    width: 18
                    height: 18
                    sourceSize: Qt.size(18 * Screen.devicePixelRatio, 18 * Screen.devicePixelRatio)
                    source: Theme.icon("exclamationmark.triangle.fill", Theme.danger)
                }
                Text {
                    id: problemText
                    objectName: "switchErrorText"
                    anchors.left: problemGlyph.right
                    anchors.leftMargin: 10
                    anchors.right: parent.right
                    anchors.rightMargin: 12
                    y: 10
                    text: problem.message + "\n" + qsTr("The stations in use stay as they are.")
                    font: Theme.detailFont
                    color: Theme.danger
                    wrapMode: Text.Wrap
                    textFormat: Text.PlainText
                    lineHeight: 1.1
                }
            }

            Text {
                width: parent.width
                text: qsTr("You can also drop a CSV file or an address on the window.")
                font: Theme.detailFont
                color: Theme.secondaryText
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
            }
        }
    }
}
