pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Window
import Quillora

// The Discover sheet: search the community station directory by name, pick
// a popular tag or the person's country, and listen to or keep what it
// finds. Results arrive 50 at a time as the list scrolls.
//
// Keys: type and Enter to search; Down moves into the results, Up and Down
// through them (Up from the first goes back to the field); Enter listens;
// Ctrl+D adds (or copies as a CSV row); typing in the list goes on in the
// field. The sheet only asks: the window decides what listening, adding and
// copying do.
Sheet {
    id: sheet
    objectName: "discoverSheet"

    property DirectorySearchModel directory: null
    // False where the active catalogue cannot be written (a remote
    // spreadsheet): rows then offer "Copy as CSV row", and the sheet says
    // why with addUnavailableReason, once.
    property bool canAdd: true
    property string addUnavailableReason

    signal listenRequested(int row)
    signal addRequested(int row)
    signal copyRowRequested(int row)
    // A station the directory does not have, added by its stream address.
    signal addStationRequested()

    // The chips' choices, sent with every search.
    property string selectedTag
    property string selectedCountry

    // The top of the carousel stays in sight above the results.
    topMargin: Math.max(72, Math.round(height * 0.2))
    title: qsTr("Discover")
    Accessible.name: qsTr("Discover stations")
    initialFocusItem: field

    // The tags come once; a failed attempt is made again on the next opening.
    onOpened: if (sheet.directory && sheet.directory.popularTags.length === 0) sheet.directory.loadPopularTags()

    function search() {
        if (!sheet.directory)
            return
        results.currentIndex = -1
        sheet.directory.search(field.text, sheet.selectedTag, sheet.selectedCountry)
        results.positionViewAtBeginning()
    }
    function validRow(row) {
        return sheet.directory !== null && row >= 0 && row < sheet.directory.count
    }
    function listen(row) {
        if (!validRow(row))
            return
        results.currentIndex = row
        sheet.listenRequested(row)
    }
    function keep(row) {
        if (!validRow(row))
            return
        results.currentIndex = row
        if (sheet.canAdd)
            sheet.addRequested(row)
        else
            sheet.copyRowRequested(row)
    }
    function enterResults() {
        if (!sheet.directory || sheet.directory.count === 0)
            return
        if (results.currentIndex < 0)
            results.currentIndex = 0
        results.forceActiveFocus()
    }

    // Many stations are not in the directory (it takes no new ones from the
    // public): adding one by its address is offered where people look.
    headerActions: SmallButton {
        objectName: "discoverAddStation"
        text: qsTr("Add station…")
        activeFocusOnTab: false
        onClicked: sheet.addStationRequested()
    }

    Shortcut {
        sequence: "Ctrl+D"
        enabled: sheet.isOpen && results.currentIndex >= 0
        onActivated: sheet.keep(results.currentIndex)
    }

    SearchField {
        id: field
        objectName: "discoverSearchField"
        width: parent.width
        placeholderText: qsTr("Search stations by name")
        // The directory takes no longer names.
        maximumLength: 100
        onAccepted: sheet.search()
        Keys.onDownPressed: sheet.enterResults()
    }

    Flow {
        id: chips
        objectName: "discoverChips"
        anchors.top: field.bottom
        anchors.topMargin: Theme.spacing
        width: parent.width
        spacing: Theme.spacingSmall

        Chip {
            objectName: "countryChip"
            readonly property string code: sheet.directory ? sheet.directory.localCountryCode : ""
            visible: code.length > 0
            text: CountryNames.nameOf(code)
            checked: sheet.selectedCountry.length > 0
            onClicked: {
                sheet.selectedCountry = checked ? "" : code
                sheet.search()
            }
        }
        Repeater {
            model: sheet.directory ? sheet.directory.popularTags : []
            Chip {
                id: tagChip
                required property string modelData
                objectName: "tagChip"
                text: tagChip.modelData
                checked: sheet.selectedTag === tagChip.modelData
                onClicked: {
                    sheet.selectedTag = tagChip.checked ? "" : tagChip.modelData
                    sheet.search()
                }
            }
        }
    }

    Text {
        id: reason
        objectName: "addUnavailableReason"
        anchors.top: chips.bottom
        anchors.topMargin: 10
        width: parent.width
        visible: !sheet.canAdd && sheet.addUnavailableReason.length > 0
        text: sheet.addUnavailableReason
        font: Theme.detailFont
        color: Theme.secondaryText
        wrapMode: Text.Wrap
        textFormat: Text.PlainText
    }

    Rectangle {
        id: separator
        anchors.top: reason.visible ? reason.bottom : chips.bottom
        anchors.topMargin: 10
        width: parent.width
        height: 1
        color: Theme.separator
    }

    ListView {
        id: results
        objectName: "discoverResults"
        anchors.top: separator.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        clip: true
        model: sheet.directory
        currentIndex: -1
        // About a row beyond each edge: only the rows near the visible
        // ones exist, and with them their logo downloads, however long the
        // list grows. (Reaching the last row asks the model for more.)
        cacheBuffer: 80
        boundsBehavior: Flickable.StopAtBounds
        bottomMargin: pageStatus.visible ? pageStatus.height : 0
        highlightMoveDuration: 0
        Accessible.role: Accessible.List
        Accessible.name: qsTr("Stations found")

        delegate: DiscoverRow {
            id: resultRow
            width: results.width
            canAdd: sheet.canAdd
            current: ListView.isCurrentItem
            onListenRequested: sheet.listen(resultRow.index)
            onAddRequested: sheet.keep(resultRow.index)
        }

        // The row the keyboard is on stays in sight.
        onCurrentIndexChanged: if (currentIndex >= 0) positionViewAtIndex(currentIndex, ListView.Contain)

        Keys.onUpPressed: {
            if (currentIndex <= 0)
                field.forceActiveFocus()
            else
                decrementCurrentIndex()
        }
        Keys.onDownPressed: if (currentIndex < count - 1) incrementCurrentIndex()
        Keys.onReturnPressed: sheet.listen(currentIndex)
        Keys.onEnterPressed: sheet.listen(currentIndex)
        // Typing while on the list goes on in the field.
        Keys.onPressed: event => {
            if ((event.modifiers & ~Qt.ShiftModifier) !== 0)
                return
            const code = event.text.length > 0 ? event.text.charCodeAt(0) : 0
            if (event.key === Qt.Key_Backspace) {
                field.forceActiveFocus()
                field.text = Array.from(field.text).slice(0, -1).join("")
                event.accepted = true
            } else if (code >= 0x20 && code !== 0x7f) {
                field.forceActiveFocus()
                field.insert(event.text)
                event.accepted = true
            }
        }
    }

    // Another page on its way, or the reason it did not come, in a bar
    // along the bottom of the results; the list scrolls clear of it.
    Rectangle {
        id: pageStatus
        objectName: "discoverPageStatus"
        readonly property bool loading: sheet.directory !== null && sheet.directory.count > 0
            && sheet.directory.status === DirectorySearchModel.Loading
        readonly property bool failed: sheet.directory !== null && sheet.directory.count > 0
            && sheet.directory.status === DirectorySearchModel.Error
        anchors.bottom: results.bottom
        width: results.width
        height: 56
        visible: loading || failed
        color: Theme.surface

        Rectangle {
            width: parent.width
            height: 1
            color: Theme.separator
        }
        ActivityIndicator {
            objectName: "discoverMoreProgress"
            anchors.centerIn: parent
            width: 28
            height: 28
            color: Theme.primary
            visible: pageStatus.loading
        }
        Row {
            anchors.centerIn: parent
            spacing: Theme.spacing
            visible: pageStatus.failed
            Text {
                anchors.verticalCenter: parent.verticalCenter
                width: Math.min(implicitWidth, pageStatus.width - 120)
                text: sheet.directory ? sheet.directory.statusMessage : ""
                font: Theme.detailFont
                color: Theme.secondaryText
                elide: Text.ElideRight
                textFormat: Text.PlainText
            }
            SmallButton {
                objectName: "discoverMoreRetry"
                text: qsTr("Retry")
                onClicked: sheet.directory.retry()
            }
        }
    }

    // A thin bar along the right edge shows where in the results the view is.
    Rectangle {
        anchors.right: results.right
        y: results.y + results.visibleArea.yPosition * results.height
        width: 3
        height: Math.max(24, results.visibleArea.heightRatio * results.height)
        radius: 1.5
        color: Theme.handle
        visible: results.visibleArea.heightRatio < 1
        opacity: results.moving ? 1 : 0.5
    }

    // What the results area says when it has no rows to show.
    Item {
        anchors.fill: results
        readonly property int status: sheet.directory ? sheet.directory.status : DirectorySearchModel.Idle
        readonly property bool empty: !sheet.directory || sheet.directory.count === 0
        visible: empty

        Text {
            objectName: "discoverHint"
            anchors.centerIn: parent
            width: parent.width - 40
            visible: parent.status === DirectorySearchModel.Idle
            text: qsTr("Find stations by name, or pick a tag.")
            font: Theme.chipFont
            color: Theme.secondaryText
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
        }

        ActivityIndicator {
            objectName: "discoverProgress"
            anchors.centerIn: parent
            width: 40
            height: 40
            color: Theme.primary
            visible: parent.status === DirectorySearchModel.Loading
        }

        Column {
            anchors.centerIn: parent
            width: parent.width - 40
            spacing: 6
            visible: parent.status === DirectorySearchModel.Empty

            Text {
                objectName: "discoverEmpty"
                width: parent.width
                text: qsTr("No stations found")
                font: Theme.rowTitleFont
                color: Theme.text
                horizontalAlignment: Text.AlignHCenter
                textFormat: Text.PlainText
            }
            Text {
                width: parent.width
                text: qsTr("Try another name, tag or country, or add the station by its stream address.")
                font: Theme.detailFont
                color: Theme.secondaryText
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
            }
            SmallButton {
                objectName: "discoverEmptyAddStation"
                anchors.horizontalCenter: parent.horizontalCenter
                text: qsTr("Add station…")
                onClicked: sheet.addStationRequested()
            }
        }

        Column {
            anchors.centerIn: parent
            width: parent.width - 40
            spacing: Theme.spacing
            visible: parent.status === DirectorySearchModel.Error

            Text {
                objectName: "discoverError"
                width: parent.width
                text: sheet.directory ? sheet.directory.statusMessage : ""
                font: Theme.chipFont
                color: Theme.text
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
            }
            SmallButton {
                objectName: "discoverRetry"
                anchors.horizontalCenter: parent.horizontalCenter
                text: qsTr("Retry")
                prominent: true
                onClicked: sheet.directory.retry()
            }
        }
    }
}
