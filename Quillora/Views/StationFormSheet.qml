import QtQuick
import Quillora

// The form for one of the person's own stations: its title, genre, stream
// address and logo address, checked as they are typed (the catalogue says
// what is wrong, next to the field). Opened filled in to edit a station,
// or empty to add one by its stream address. Where the catalogue cannot be
// written, adding offers to copy the station as a CSV row instead, and
// says why.
//
// Keys: Tab or Up and Down between the fields, Return or Enter saves,
// Escape closes without saving.
Sheet {
    id: form
    objectName: "stationForm"

    property ActiveCatalogue catalogue: null
    // The station edited; none (-1) while adding.
    property int stationId: -1
    readonly property bool adding: form.stationId < 0
    // Adding writes to the catalogue, or copies a CSV row for a catalogue
    // that cannot be written.
    readonly property bool copies: form.adding && form.catalogue !== null && !form.catalogue.canEdit
    // The fields as they were when the form opened.
    property var original: ({})
    // Why the last save failed (the file could not be written, ...).
    property string saveError

    // Saved (or copied); the message says what happened.
    signal done(string message)

    readonly property var fields: ({
        title: titleField.text,
        genre: genreField.text,
        url: urlField.text,
        image: imageField.text
    })
    readonly property var problems: form.catalogue ? form.catalogue.stationProblems(form.fields)
                                                   : ({ title: "", url: "", image: "" })
    readonly property bool valid: form.problems.title === "" && form.problems.url === "" && form.problems.image === ""
    readonly property var fieldItems: [titleField, genreField, urlField, imageField]

    // Opens the form on a station of the catalogue.
    function edit(station) {
        form.stationId = station.id
        form.fill(station)
        form.open()
    }
    // Opens the form empty, to add a station.
    function add() {
        form.stationId = -1
        form.fill({ title: "", genre: "", url: "", image: "" })
        form.open()
    }
    function fill(station) {
        form.original = { title: station.title, genre: station.genre, url: station.url, image: station.image }
        titleField.text = station.title
        genreField.text = station.genre
        urlField.text = station.url
        imageField.text = station.image
        for (const field of form.fieldItems)
            field.touched = false
        form.saveError = ""
    }
    function moveFocus(from, step) {
        const index = form.fieldItems.indexOf(from) + step
        if (index >= 0 && index < form.fieldItems.length)
            form.fieldItems[index].forceActiveFocus()
    }
    function save() {
        if (!form.catalogue)
            return
        if (!form.valid) {
            // Say everything that is wrong, and go to the first of it.
            for (const field of form.fieldItems)
                field.reveal()
            for (const field of form.fieldItems) {
                if (field.problem !== "") {
                    field.forceActiveFocus()
                    break
                }
            }
            return
        }
        const title = form.fields.title.trim()
        let error = ""
        let message = ""
        if (form.copies) {
            Clipboard.setText(form.catalogue.csvRowFor(form.fields))
            message = qsTr("Copied “%1” as a CSV row").arg(title)
        } else if (form.adding) {
            error = form.catalogue.addStation(form.fields)
            message = qsTr("Added “%1” to %2").arg(title).arg(form.catalogue.sourceName)
        } else {
            // Only what changed: another program may have changed the rest
            // of the row meanwhile.
            const changes = {}
            for (const name of ["title", "genre", "url", "image"]) {
                if (form.fields[name].trim() !== String(form.original[name]).trim())
                    changes[name] = form.fields[name]
            }
            if (Object.keys(changes).length > 0)
                error = form.catalogue.editStation(form.stationId, changes)
            message = Object.keys(changes).length > 0 ? qsTr("Saved “%1”").arg(title) : ""
        }
        form.saveError = error
        if (error !== "")
            return
        form.close()
        form.done(message)
    }

    title: form.adding ? qsTr("Add station") : qsTr("Edit station")
    Accessible.name: form.title
    topMargin: Math.max(72, height - 620)
    initialFocusItem: titleField

    Keys.onReturnPressed: form.save()
    Keys.onEnterPressed: form.save()

    Flickable {
        id: scroller
        anchors.fill: parent
        contentHeight: column.implicitHeight + 24
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Column {
            id: column
            width: parent.width
            spacing: 14
            topPadding: Theme.spacingTiny

            FormField {
                id: titleField
                objectName: "titleField"
                width: parent.width
                label: qsTr("Title")
                placeholderText: qsTr("The station's name")
                problem: form.problems.title
                maximumLength: 200
                Keys.onDownPressed: form.moveFocus(titleField, 1)
            }
            FormField {
                id: genreField
                objectName: "genreField"
                width: parent.width
                label: qsTr("Genre")
                placeholderText: qsTr("Optional, for example Jazz")
                maximumLength: 100
                Keys.onUpPressed: form.moveFocus(genreField, -1)
                Keys.onDownPressed: form.moveFocus(genreField, 1)
            }
            FormField {
                id: urlField
                objectName: "urlField"
                width: parent.width
                label: qsTr("Stream address")
                placeholderText: "https://"
                problem: form.problems.url
                maximumLength: 2000
                inputMethodHints: Qt.ImhUrlCharactersOnly | Qt.ImhNoAutoUppercase
                Keys.onUpPressed: form.moveFocus(urlField, -1)
                Keys.onDownPressed: form.moveFocus(urlField, 1)
            }
            FormField {
                id: imageField
                objectName: "imageField"
                width: parent.width
                label: qsTr("Logo address")
                placeholderText: qsTr("Optional, https://…")
                problem: form.problems.image
                maximumLength: 2000
                inputMethodHints: Qt.ImhUrlCharactersOnly | Qt.ImhNoAutoUppercase
                Keys.onUpPressed: form.moveFocus(imageField, -1)
            }

            Text {
                objectName: "stationFormReason"
                width: parent.width
                visible: form.copies
                text: form.catalogue ? form.catalogue.addUnavailableReason : ""
                font: Theme.detailFont
                color: Theme.secondaryText
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
            }

            Text {
                objectName: "stationFormError"
                width: parent.width
                visible: form.saveError.length > 0
                text: form.saveError
                font: Theme.detailFont
                color: Theme.danger
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
                Accessible.role: Accessible.AlertMessage
                Accessible.name: text
            }

            Row {
                anchors.right: parent.right
                spacing: 10

                SmallButton {
                    objectName: "stationFormCancel"
                    text: qsTr("Cancel")
                    onClicked: form.close()
                }
                SmallButton {
                    objectName: "stationFormSave"
                    text: form.copies ? qsTr("Copy as CSV row") : (form.adding ? qsTr("Add") : qsTr("Save"))
                    prominent: true
                    // Dimmed while a problem shows; a click with problems
                    // not yet shown shows them.
                    opacity: titleField.showsProblem || urlField.showsProblem || imageField.showsProblem ? 0.5 : 1
                    onClicked: form.save()
                }
            }
        }
    }
}
