pragma Singleton
import QtQuick

// Short notices at the bottom of the window, from anywhere in the screens:
//
//   Notices.show(qsTr("Copied"))
//   Notices.showError(error)
//   Notices.show(qsTr("Removed “%1”").arg(title),
//                { actionText: qsTr("Undo"), action: () => catalogue.undoRemove(),
//                  key: "undo", duration: 0 })
//   Notices.dismiss("undo")
//
// One notice shows at a time; a new one replaces it. Options: actionText
// and action (a button on the notice), key (to dismiss it by name later),
// duration in milliseconds (0: until dismissed; by default long enough to
// read the text). The window's Toast shows them.
QtObject {
    signal shown(string text, var options)
    signal dismissed(string key)

    function show(text, options) {
        shown(text, options ? options : ({}))
    }
    function showError(text, options) {
        const all = options ? Object.assign({}, options) : ({})
        all.error = true
        shown(text, all)
    }
    function dismiss(key) {
        dismissed(key ? key : "")
    }
}
