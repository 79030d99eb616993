import QtQuick

// A part of the screen that costs the first frame nothing: it is built the
// first time it is `needed`, and then kept, so that it can fade out and
// show again without being built anew. For what many sessions never show
// (a failed catalogue, a guest's card, a notice).
//
//   LazyItem {
//       needed: root.player.isGuest
//       sourceComponent: GuestMarker { ... }
//   }
//
// Like any Loader, it takes the size of its item unless it is given one.
Loader {
    id: lazy

    property bool needed: false

    active: false
    onNeededChanged: if (lazy.needed) lazy.active = true
    Component.onCompleted: if (lazy.needed) lazy.active = true
}
