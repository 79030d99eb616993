pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Window
import Quillora

// A small menu of actions that opens where it is asked for (at the pointer,
// or at the item the keyboard is on), over everything else. It holds the
// keyboard while open: Up and Down (or Tab) move, Home and End jump,
// Return, Enter or Space choose, Escape or the menu key closes; so do a
// click or tap outside it. Closing gives the focus back to whatever had it.
//
//   ContextMenu {
//       anchors.fill: parent      // the window: a click anywhere else closes it
//       title: station.title
//       entries: [{ text: qsTr("Edit…"), name: "editEntry", action: () => edit() },
//                 { text: qsTr("Remove"), destructive: true, action: () => remove() }]
//   }
//   menu.popup(x, y)
//
// An entry may start a new group (separatorBefore: true).
FocusScope {
    id: menu
    objectName: "contextMenu"

    // { text, name (objectName), destructive, separatorBefore, action }
    property var entries: []
    // A caption above the entries (what the menu is about), and its
    // accessible name.
    property string title

    readonly property bool isOpen: d.isOpen
    // The entry the keyboard is on.
    readonly property int currentIndex: d.current
    signal closed()

    // Opens with its top-left corner at (x, y) of this item, moved in where
    // it would leave the window.
    function popup(x, y) {
        if (menu.entries.length === 0)
            return
        const previous = menu.Window.activeFocusItem
        d.returnFocusTo = previous && !d.contains(previous) ? previous : null
        d.at = Qt.point(x, y)
        d.isOpen = true
        d.current = 0
        d.focusCurrent()
    }
    // Opens centred on (x, y): for the keyboard, on the item it is on.
    function popupCentred(x, y) {
        popup(x - panel.width / 2, y - panel.height / 2)
    }
    function close() {
        if (!d.isOpen)
            return
        d.isOpen = false
        if (menu.activeFocus) {
            const target = d.returnFocusTo
            menu.focus = false
            if (target)
                target.forceActiveFocus()
        }
        d.returnFocusTo = null
        menu.closed()
    }
    function trigger(index) {
        const entry = menu.entries[index]
        menu.close()
        if (entry && entry.action)
            entry.action()
    }

    visible: d.isOpen || panel.opacity > 0

    Keys.onShortcutOverride: event => event.accepted = d.isOpen && d.claims(event)
    Keys.onPressed: event => {
        if (!d.isOpen)
            return
        event.accepted = true
        switch (event.key) {
        case Qt.Key_Down:
        case Qt.Key_Tab:
            d.move(1)
            break
        case Qt.Key_Up:
        case Qt.Key_Backtab:
            d.move(-1)
            break
        case Qt.Key_Home:
            d.current = 0
            d.focusCurrent()
            break
        case Qt.Key_End:
            d.current = menu.entries.length - 1
            d.focusCurrent()
            break
        case Qt.Key_Return:
        case Qt.Key_Enter:
        case Qt.Key_Space:
            menu.trigger(d.current)
            break
        case Qt.Key_Escape:
        case Qt.Key_Menu:
        case Qt.Key_F10:
            menu.close()
            break
        default:
            // Other keys do nothing while the menu is open.
            break
        }
    }

    QtObject {
        id: d

        property bool isOpen: false
        property point at
        property int current: 0
        property Item returnFocusTo: null

        function claims(event) {
            if ((event.modifiers & ~(Qt.ShiftModifier | Qt.KeypadModifier)) !== 0)
                return false
            return true
        }
        function move(step) {
            const count = menu.entries.length
            d.current = (d.current + step + count) % count
            d.focusCurrent()
        }
        function focusCurrent() {
            const entry = entryRepeater.itemAt(d.current)
            if (entry)
                entry.forceActiveFocus()
            else
                menu.forceActiveFocus()
        }
        function contains(item) {
            for (let it = item; it; it = it.parent) {
                if (it === menu)
                    return true
            }
            return false
        }
    }

    // Outside the menu: a click anywhere closes it and goes no further.
    MouseArea {
        anchors.fill: parent
        enabled: d.isOpen
        acceptedButtons: Qt.AllButtons
        onReleased: menu.close()
        onWheel: wheel => wheel.accepted = true
    }

    Rectangle {
        id: panel
        objectName: "contextMenuPanel"
        readonly property real widest: {
            let w = caption.visible ? caption.implicitWidth : 0
            for (let i = 0; i < entryRepeater.count; ++i)
                w = Math.max(w, entryRepeater.itemAt(i) ? entryRepeater.itemAt(i).implicitWidth : 0)
            return w
        }
        width: Math.min(menu.width - 16, Math.max(200, widest + 16))
        height: column.implicitHeight + 12
        x: Math.max(8, Math.min(d.at.x, menu.width - width - 8))
        y: Math.max(8, Math.min(d.at.y, menu.height - height - 8))
        radius: Theme.radius
        color: Theme.surface
        border.width: 1
        border.color: Theme.separator
        opacity: d.isOpen ? 1 : 0
        scale: d.isOpen ? 1 : 0.96
        Behavior on opacity { NumberAnimation { duration: 110 } }
        Behavior on scale { NumberAnimation { duration: 110; easing.type: Easing.OutCubic } }

        Accessible.role: Accessible.PopupMenu
        Accessible.name: menu.title

        BoxShadow {
            anchors.fill: parent
            z: -1
            cornerRadius: parent.radius
            blurRadius: 16
            color: Theme.alpha(Theme.shadow, Theme.dark ? 0.5 : 0.22)
        }

        // Presses on the caption and the edges stay in the menu.
        MouseArea {
            anchors.fill: parent
            enabled: d.isOpen
            acceptedButtons: Qt.AllButtons
        }

        Column {
            id: column
            x: 6
            y: 6
            width: parent.width - 12

            Text {
                id: caption
                objectName: "contextMenuTitle"
                visible: menu.title.length > 0
                width: parent.width
                leftPadding: Theme.spacing
                rightPadding: Theme.spacing
                topPadding: 6
                bottomPadding: 6
                text: menu.title
                font: Theme.detailFont
                color: Theme.secondaryText
                elide: Text.ElideRight
                textFormat: Text.PlainText
                Accessible.ignored: true
            }

            Repeater {
                id: entryRepeater
                model: menu.entries

                Item {
                    id: entry
                    required property var modelData
                    required property int index
                    readonly property bool separated: entry.modelData.separatorBefore === true && entry.index > 0
                    objectName: entry.modelData.name ? entry.modelData.name : ""
                    width: column.width
                    height: 44 + (separated ? 9 : 0)
                    implicitWidth: label.implicitWidth + 24

                    Accessible.role: Accessible.MenuItem
                    Accessible.name: entry.modelData.text
                    Accessible.focusable: true
                    Accessible.focused: entry.activeFocus
                    Accessible.onPressAction: menu.trigger(entry.index)

                    Rectangle {
                        visible: entry.separated
                        x: 8
                        y: 4
                        width: parent.width - 16
                        height: 1
                        color: Theme.separator
                    }

                    Rectangle {
                        anchors.fill: parent
                        anchors.topMargin: entry.separated ? 9 : 0
                        radius: Theme.radiusSmall
                        color: entry.activeFocus ? Theme.highlight : (hover.hovered ? Theme.fill : "transparent")

                        Text {
                            id: label
                            anchors.verticalCenter: parent.verticalCenter
                            x: 12
                            width: parent.width - 24
                            text: entry.modelData.text
                            font: Theme.chipFont
                            color: entry.modelData.destructive === true ? Theme.danger : Theme.text
                            elide: Text.ElideRight
                            textFormat: Text.PlainText
                        }
                    }

                    HoverHandler {
                        id: hover
                        cursorShape: Qt.PointingHandCursor
                        onHoveredChanged: if (hovered && d.isOpen) { d.current = entry.index; d.focusCurrent() }
                    }
                    // An area, not a handler: the area outside the menu
                    // would take a handler's press.
                    MouseArea {
                        anchors.fill: parent
                        enabled: d.isOpen
                        onClicked: menu.trigger(entry.index)
                    }
                }
            }
        }
    }
}
