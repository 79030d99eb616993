import QtQuick
import QtQuick.Window
import Quillora

// A sheet that rises from the bottom over the main screen, which stays in
// sight above it behind a dimmed backdrop. It closes with Escape, a drag or
// swipe down on its header, a click on the backdrop or its close button,
// and animates both ways. While open it holds the keyboard focus (the item
// named initialFocusItem gets it) and keeps plain keys (letters, arrows,
// space, Return) from the main screen's shortcuts; Ctrl shortcuts and media
// keys still reach the window. Closing gives the focus back to whatever had
// it before.
//
//   Sheet {
//       anchors.fill: parent       // the whole window: the backdrop covers it
//       title: qsTr("My stations")
//       initialFocusItem: field
//       SearchField { id: field; width: parent.width }
//   }
//
// Children are laid out in the sheet's body, below the header; the body's
// size is the sheet's width less 16-point margins by the space left below
// the header.
FocusScope {
    id: sheet

    // The heading, and the sheet's accessible name unless one is set.
    property string title
    // How much of the screen behind stays in sight above the sheet.
    property real topMargin: 72
    // Takes the keyboard focus when the sheet opens.
    property Item initialFocusItem: null
    default property alias content: body.data
    // Small buttons at the right of the header, before the close button.
    property alias headerActions: headerActionRow.data
    // The body, for anchoring children to it.
    readonly property alias body: body

    // True from open() until close(); the animations run after each.
    readonly property bool isOpen: d.isOpen
    // 0 closed, 1 fully risen; follows the animations and the finger.
    readonly property real position: Math.max(0, d.position - d.dragOffset / Math.max(1, panel.height))

    signal opened()
    // After the closing animation.
    signal closed()

    function open() {
        if (!d.isOpen) {
            d.isOpen = true
            // Remembered to give back on closing; never an item of the sheet.
            const previous = sheet.Window.activeFocusItem
            d.returnFocusTo = previous && !d.contains(previous) ? previous : null
            d.animateTo(1)
            sheet.opened()
        }
        sheet.forceActiveFocus()
        if (sheet.initialFocusItem)
            sheet.initialFocusItem.forceActiveFocus()
    }

    function close() {
        if (!d.isOpen)
            return
        d.isOpen = false
        if (sheet.activeFocus) {
            // Let go of the focus up to where it returns (short of the
            // window's root), so that focus scopes on the way (a Loader is
            // one) do not hand it back here.
            const target = d.returnFocusTo
            for (let it = sheet; it && it.parent && !(target && d.isAncestorOf(it, target)); it = it.parent)
                it.focus = false
            if (target)
                target.forceActiveFocus()
        }
        d.returnFocusTo = null
        d.animateTo(0)
    }

    visible: sheet.position > 0
    Accessible.role: Accessible.Dialog
    Accessible.name: sheet.title

    Keys.onEscapePressed: sheet.close()
    // Plain keys belong to the sheet while it is open: typing a space or
    // pressing an arrow in it must not play, skip or change the volume.
    Keys.onShortcutOverride: event => event.accepted = sheet.isOpen && d.claims(event)

    QtObject {
        id: d

        property bool isOpen: false
        property real position: 0
        property real dragOffset: 0
        property real dragVelocity: 0
        property Item returnFocusTo: null

        readonly property var ownKeys: [Qt.Key_Escape, Qt.Key_Tab, Qt.Key_Backtab, Qt.Key_Backspace, Qt.Key_Return,
            Qt.Key_Enter, Qt.Key_Insert, Qt.Key_Delete, Qt.Key_Home, Qt.Key_End, Qt.Key_Left, Qt.Key_Up,
            Qt.Key_Right, Qt.Key_Down, Qt.Key_PageUp, Qt.Key_PageDown]

        function claims(event) {
            if ((event.modifiers & ~(Qt.ShiftModifier | Qt.KeypadModifier)) !== 0)
                return false
            // Below Escape lie the keys that type something.
            return event.key < Qt.Key_Escape || ownKeys.indexOf(event.key) >= 0
        }

        function isAncestorOf(ancestor, item) {
            for (let it = item; it; it = it.parent) {
                if (it === ancestor)
                    return true
            }
            return false
        }
        function contains(item) { return isAncestorOf(sheet, item) }

        function animateTo(target) {
            motion.stop()
            // A drag in progress becomes part of the position it leaves from.
            d.position = sheet.position
            d.dragOffset = 0
            motion.to = target
            motion.duration = target > 0 ? 280 : 200
            motion.easing.type = target > 0 ? Easing.OutCubic : Easing.InCubic
            motion.start()
        }
    }

    NumberAnimation {
        id: motion
        target: d
        property: "position"
        onFinished: if (d.position === 0 && !d.isOpen) sheet.closed()
    }
    NumberAnimation {
        id: settle
        target: d
        property: "dragOffset"
        to: 0
        duration: 180
        easing.type: Easing.OutCubic
    }

    // The backdrop: the main screen dimmed; a click on it closes the sheet.
    Rectangle {
        anchors.fill: parent
        color: Theme.backdrop
        opacity: sheet.position
    }
    MouseArea {
        objectName: "sheetBackdrop"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: panel.top
        enabled: sheet.isOpen
        onClicked: sheet.close()
        onWheel: wheel => wheel.accepted = true
    }

    // Reaches below the window's bottom edge by its corner radius, so only
    // the top corners show rounded.
    Rectangle {
        id: panel
        objectName: "sheetPanel"
        readonly property real radiusBelow: radius
        width: parent.width
        height: Math.max(0, parent.height - sheet.topMargin) + radiusBelow
        y: parent.height - sheet.position * (height - radiusBelow)
        radius: Theme.radiusLarge
        color: Theme.surface

        // Clicks and the wheel on the sheet never reach the screen beneath.
        MouseArea {
            anchors.fill: parent
            onWheel: wheel => wheel.accepted = true
        }

        Item {
            id: header
            objectName: "sheetHeader"
            width: parent.width
            height: 56

            Rectangle {
                objectName: "sheetHandle"
                anchors.horizontalCenter: parent.horizontalCenter
                y: 8
                width: 36
                height: 5
                radius: 2.5
                color: Theme.handle
            }

            Text {
                anchors.left: parent.left
                anchors.leftMargin: Theme.spacingHuge
                anchors.right: headerActionRow.left
                anchors.rightMargin: Theme.spacingSmall
                anchors.verticalCenter: parent.verticalCenter
                anchors.verticalCenterOffset: 6
                text: sheet.title
                font: Theme.headingFont
                color: Theme.text
                elide: Text.ElideRight
                textFormat: Text.PlainText
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }

            Row {
                id: headerActionRow
                anchors.right: closeButton.left
                anchors.rightMargin: Theme.spacingTiny
                anchors.verticalCenter: parent.verticalCenter
                anchors.verticalCenterOffset: 6
                spacing: Theme.spacingSmall
            }

            IconButton {
                id: closeButton
                objectName: "sheetCloseButton"
                anchors.right: parent.right
                anchors.rightMargin: Theme.spacingSmall
                anchors.verticalCenter: parent.verticalCenter
                anchors.verticalCenterOffset: 6
                glyph: "xmark.circle.fill"
                glyphSize: 26
                color: Theme.handle
                activeFocusOnTab: false
                Accessible.name: qsTr("Close")
                onClicked: sheet.close()
            }

            // Dragging the header down moves the sheet with the finger; far
            // or fast enough closes it, else it settles back.
            DragHandler {
                id: drag
                target: null
                xAxis.enabled: false
                enabled: sheet.isOpen
                onActiveChanged: {
                    if (active) {
                        settle.stop()
                        return
                    }
                    const fast = d.dragVelocity > 700
                    if (d.dragOffset > panel.height / 4 || (fast && d.dragOffset > 12))
                        sheet.close()
                    else
                        settle.start()
                }
                onCentroidChanged: {
                    if (!active)
                        return
                    d.dragOffset = Math.max(0, centroid.scenePosition.y - centroid.scenePressPosition.y)
                    d.dragVelocity = centroid.velocity.y
                }
            }
        }

        Item {
            id: body
            objectName: "sheetBody"
            anchors.top: header.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.leftMargin: Theme.spacingLarge
            anchors.rightMargin: Theme.spacingLarge
            anchors.bottomMargin: panel.radiusBelow
        }
    }
}
