pragma ComponentBehavior: Bound
import QtQuick
import Quillora

// The stations beside the player on a wide window: a filter field, then one
// row per station (logo, title, genre), the selected one filled and the
// playing one marked. A click selects, a double click or Enter plays; the
// arrows move the selection; typing while the list has the keyboard goes to
// the filter. Where the catalogue can be written (My stations, a local
// file) and no filter narrows the list, a row's handle drags it to another
// place, and Alt+Up and Alt+Down move the selected station.
//
// Rows are a list view's delegates: only those on screen are built.
FocusScope {
    id: list

    required property Player player
    property ActiveCatalogue catalogue: null
    // Touch-sized rows, for a tablet.
    property bool touch: false

    readonly property bool canReorder: list.catalogue !== null && list.catalogue.canEdit
        && filter.text.length === 0 && !list.player.isGuest
    readonly property alias count: view.count

    // The selected station's row among those shown; -1 when filtered away
    // or while a station from outside the catalogue plays.
    readonly property int selectedRow: {
        void filter.count // notifies on every change of the rows shown
        return list.player.isGuest ? -1 : filter.rowOf(list.player.selectedStationIndex)
    }
    function select(row) {
        const source = filter.sourceRow(row)
        if (source >= 0 && (source !== list.player.selectedStationIndex || list.player.isGuest))
            list.player.selectedStationIndex = source
    }
    function play(row) {
        list.select(row)
        if (!list.player.isPlaying)
            list.player.resume()
    }
    // Moves the selected station by `step` rows (Alt+Up, Alt+Down).
    function moveSelected(step) {
        const row = list.selectedRow
        if (!list.canReorder || row < 0)
            return
        list.move(row, row + step)
    }
    function move(row, to) {
        if (to < 0 || to >= view.count || to === row)
            return
        const station = filter.data(filter.index(row, 0), StationListModel.StationIdRole)
        const problem = list.catalogue.moveStation(station, to)
        if (problem.length > 0) {
            Notices.show(problem, { error: true })
            return
        }
        Notices.show(list.catalogue.undoText, {
            actionText: qsTr("Undo"),
            action: () => list.catalogue.undoRemove(),
            key: "undo",
            duration: 0
        })
    }
    function keepSelectionInSight() {
        const row = list.selectedRow
        if (row >= 0)
            view.positionViewAtIndex(row, ListView.Contain)
    }

    onSelectedRowChanged: list.keepSelectionInSight()

    StationFilter {
        id: filter
        sourceModel: list.player.stationModel
        text: field.text
    }

    Rectangle {
        anchors.fill: parent
        color: Theme.surface
    }

    SearchField {
        id: field
        objectName: "stationFilterField"
        x: Theme.spacing
        y: Theme.spacing
        width: parent.width - 2 * Theme.spacing
        placeholderText: qsTr("Filter stations")
        KeyNavigation.down: view
        KeyNavigation.tab: view
        Keys.onEscapePressed: event => {
            event.accepted = field.text.length > 0
            field.clear()
        }
        Keys.onReturnPressed: if (view.count > 0) list.play(0)
        Keys.onEnterPressed: if (view.count > 0) list.play(0)
    }

    ListView {
        id: view
        objectName: "stationList"
        anchors.top: field.bottom
        anchors.topMargin: Theme.spacingSmall
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.leftMargin: Theme.spacingSmall
        anchors.rightMargin: Theme.spacingSmall
        clip: true
        // Only the rows on screen are built: each costs its share of memory
        // and of the first frame, and a row scrolled into sight is quick to
        // build.
        cacheBuffer: 0
        focus: true
        activeFocusOnTab: true
        boundsBehavior: Flickable.StopAtBounds
        model: filter
        // The keyboard's row is the selection, not the view's own.
        currentIndex: -1
        keyNavigationEnabled: false

        Accessible.role: Accessible.List
        Accessible.name: qsTr("Stations")
        Accessible.focusable: true

        // Where a dragged row would land, and the line that shows it.
        property int dragFrom: -1
        property int dropAt: -1

        delegate: StationRow {
            width: view.width
            selected: index === list.selectedRow
            playing: selected && list.player.isPlaying
            current: selected && view.activeFocus
            reorderable: list.canReorder
            touch: list.touch
            onSelectRequested: {
                view.forceActiveFocus()
                list.select(index)
            }
            onPlayRequested: list.play(index)
            onDragStarted: {
                view.dragFrom = index
                view.dropAt = index
            }
            onDragMoved: y => {
                const at = view.indexAt(view.width / 2, mapToItem(view.contentItem, 0, y).y)
                view.dropAt = at >= 0 ? at : (y < 0 ? 0 : view.count - 1)
            }
            onDragFinished: {
                const from = view.dragFrom
                const to = view.dropAt
                view.dragFrom = -1
                view.dropAt = -1
                if (from >= 0 && to >= 0)
                    list.move(from, to)
            }
        }

        Rectangle {
            objectName: "dropLine"
            readonly property Item target: view.dropAt >= 0 && view.dropAt !== view.dragFrom
                ? view.itemAtIndex(view.dropAt) : null
            visible: target !== null
            x: 0
            width: view.width
            height: 2
            color: Theme.accent
            y: !target ? 0 : target.y - view.contentY + (view.dropAt > view.dragFrom ? target.height - 1 : -1)
        }

        Keys.onUpPressed: event => {
            if (event.modifiers & Qt.AltModifier)
                list.moveSelected(-1)
            else if (list.selectedRow > 0)
                list.select(list.selectedRow - 1)
            else if (list.selectedRow < 0 && view.count > 0)
                list.select(0)
            else
                field.forceActiveFocus()
        }
        Keys.onDownPressed: event => {
            if (event.modifiers & Qt.AltModifier)
                list.moveSelected(1)
            else if (list.selectedRow < view.count - 1)
                list.select(list.selectedRow + 1)
        }
        Keys.onPressed: event => {
            if (event.key === Qt.Key_Home && view.count > 0)
                list.select(0)
            else if (event.key === Qt.Key_End && view.count > 0)
                list.select(view.count - 1)
            else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter)
                list.play(Math.max(0, list.selectedRow))
            else if (d.types(event)) {
                field.forceActiveFocus()
                field.insert(event.text)
            } else {
                return
            }
            event.accepted = true
        }
    }

    // Keys the list and its field use are theirs, not the window's
    // shortcuts (the arrows change the station and the volume there).
    Keys.onShortcutOverride: event => event.accepted = field.activeFocus ? d.fieldClaims(event) : d.listClaims(event)

    QtObject {
        id: d
        readonly property var listKeys: [Qt.Key_Up, Qt.Key_Down, Qt.Key_Home, Qt.Key_End, Qt.Key_Return,
            Qt.Key_Enter]
        readonly property var fieldKeys: [Qt.Key_Left, Qt.Key_Right, Qt.Key_Up, Qt.Key_Down, Qt.Key_Home,
            Qt.Key_End, Qt.Key_Backspace, Qt.Key_Delete, Qt.Key_Return, Qt.Key_Enter, Qt.Key_Escape]

        // A key that types a letter (not the space, which plays).
        function types(event) {
            return (event.modifiers & ~(Qt.ShiftModifier | Qt.KeypadModifier)) === 0 && event.text.length > 0
                && event.text.trim().length > 0 && event.text.charCodeAt(0) >= 32
        }
        function listClaims(event) {
            if (event.modifiers === Qt.AltModifier)
                return event.key === Qt.Key_Up || event.key === Qt.Key_Down
            return (event.modifiers & ~Qt.KeypadModifier) === 0 && listKeys.indexOf(event.key) >= 0 || types(event)
        }
        function fieldClaims(event) {
            if ((event.modifiers & ~(Qt.ShiftModifier | Qt.KeypadModifier)) !== 0)
                return false
            return event.key < Qt.Key_Escape || fieldKeys.indexOf(event.key) >= 0
        }
    }
}
