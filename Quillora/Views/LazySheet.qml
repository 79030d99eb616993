import QtQuick
import Quillora

// A sheet that costs the first frame nothing: it is built the first time it
// opens, from its file, and then kept (with its scroll position, its search
// results) for the next time.
//
//   LazySheet {
//       id: discover
//       objectName: "discoverLoader"
//       sheetSource: "DiscoverSheet.qml"
//       onBuilt: sheet => sheet.directory = window.directory
//   }
//   ... discover.open()
//
// build() makes the sheet without opening it, for a sheet that opens in
// its own way (the station form's add() and edit()). Until then the loader
// is empty (status Loader.Null).
Loader {
    id: lazy

    // The sheet's QML file.
    property url sheetSource
    // Once, when the sheet has been built and before it opens: bind its
    // properties and connect its signals here.
    signal built(var sheet)

    // The sheet, built now if it was not yet.
    function build() {
        if (!lazy.item) {
            if (lazy.sourceComponent === null)
                lazy.source = lazy.sheetSource
            lazy.active = true
        }
        return lazy.item
    }
    function open() {
        const sheet = lazy.build()
        if (sheet)
            sheet.open()
    }

    anchors.fill: parent
    active: false
    onLoaded: lazy.built(lazy.item)
}
