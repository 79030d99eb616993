import QtQuick
import Quillora

// Keeping and changing the person's own stations from the main screen: the
// card's menu (Edit, Remove, Add station…; for a station played from
// outside the catalogue, Add or Copy as CSV row), the station form, and
// what each action says when it is done or fails (through Notices).
// Removing happens at once and offers Undo for as long as the catalogue
// can undo.
//
// The form is built the first time it is needed.
Item {
    id: editing

    required property Player player
    required property ActiveCatalogue catalogue

    // The card's menu, once it has been opened.
    readonly property Item menu: d.menu
    readonly property bool formOpen: formLoader.item !== null && formLoader.item.isOpen

    // The fields of a station as the catalogue's edits take them.
    function fieldsOf(station) {
        return { title: station.title, genre: station.genre, url: station.url, image: station.image,
                 uuid: station.uuid }
    }

    // Adds a station to the catalogue in use and says so.
    function add(fields) {
        const error = editing.catalogue.addStation(fields)
        if (error !== "")
            Notices.showError(error)
        else
            Notices.show(qsTr("Added “%1” to %2").arg(String(fields.title).trim()).arg(editing.catalogue.sourceName))
        return error
    }
    // Puts the station on the clipboard as a CSV row, for a catalogue
    // Quillora cannot write.
    function copyRow(fields) {
        Clipboard.setText(editing.catalogue.csvRowFor(fields))
        Notices.show(qsTr("Copied “%1” as a CSV row: paste it into %2").arg(String(fields.title).trim())
                     .arg(editing.catalogue.sourceName))
    }
    // The guest playing now: into the catalogue (it then becomes its card),
    // or onto the clipboard.
    function keepGuest() {
        if (!editing.player.isGuest || !editing.player.station)
            return
        const fields = editing.fieldsOf(editing.player.station)
        if (editing.catalogue.canEdit)
            editing.add(fields)
        else
            editing.copyRow(fields)
    }
    function remove(station) {
        const error = editing.catalogue.removeStation(station.id)
        if (error !== "") {
            Notices.showError(error)
            return
        }
        Notices.show(editing.catalogue.undoText, {
            actionText: qsTr("Undo"),
            action: () => editing.catalogue.undoRemove(),
            key: "undo",
            duration: 0
        })
    }
    function openForm(station) {
        if (editing.formOpen)
            return
        const form = formLoader.build()
        if (station)
            form.edit(station)
        else
            form.add()
    }
    // The empty form, to add a station by its stream address.
    function addStation() { editing.openForm(null) }

    // The menu for the station on screen, at (x, y) of this item; centred
    // there when it opens from the keyboard.
    function openMenu(x, y, fromKeyboard) {
        const station = editing.player.station
        if (!station || (editing.menu && editing.menu.isOpen) || editing.formOpen)
            return
        // Made directly rather than by a Loader, which as a focus scope
        // would keep the keyboard after the menu gives it back.
        if (!d.menu)
            d.menu = menuComponent.createObject(editing)
        const menu = d.menu
        const entries = []
        if (editing.player.isGuest) {
            entries.push(editing.catalogue.canEdit
                ? { text: qsTr("Add to %1").arg(editing.catalogue.sourceName), name: "keepEntry",
                    action: () => editing.keepGuest() }
                : { text: qsTr("Copy as CSV row"), name: "keepEntry", action: () => editing.keepGuest() })
        } else if (editing.catalogue.canEdit) {
            entries.push({ text: qsTr("Edit…"), name: "editEntry", action: () => editing.openForm(station) })
            entries.push({ text: qsTr("Remove"), name: "removeEntry", destructive: true,
                           action: () => editing.remove(station) })
        }
        entries.push({ text: qsTr("Add station…"), name: "addEntry", separatorBefore: true,
                       action: () => editing.addStation() })
        menu.title = station.title
        menu.entries = entries
        if (fromKeyboard)
            menu.popupCentred(x, y)
        else
            menu.popup(x, y)
    }

    // The Undo notice goes when Undo is no longer possible (its time is up,
    // it was used, the catalogue changed).
    Connections {
        target: editing.catalogue
        function onUndoChanged() {
            if (!editing.catalogue.canUndo)
                Notices.dismiss("undo")
        }
    }

    // Built the first time it opens.
    QtObject {
        id: d
        property Item menu: null
    }
    Component {
        id: menuComponent
        ContextMenu {
            anchors.fill: parent
            Accessible.name: qsTr("Station actions")
        }
    }

    LazySheet {
        id: formLoader
        objectName: "stationFormLoader"
        sourceComponent: StationFormSheet {
            catalogue: editing.catalogue
            onDone: message => { if (message !== "") Notices.show(message) }
        }
    }
}
