import QtQuick
import Quillora

// The window's transient notice: a dark pill near the bottom edge with a
// line of text and, for some notices, one action ("Undo"). It rises in,
// stays as long as the text takes to read (longer for errors, while the
// pointer rests on it, or until dismissed), and fades out. It never takes
// the keyboard focus: its action also has a key of its own where one
// exists (Ctrl+Z for Undo), and assistive technology hears it as an alert.
//
// Anything in the screens shows a notice through the Notices singleton.
Item {
    id: toast
    objectName: "toast"

    // What shows now.
    readonly property string text: d.text
    readonly property string actionText: d.actionText
    readonly property bool error: d.error
    readonly property string key: d.key
    readonly property bool showing: d.showing

    function show(text, options) {
        const o = options ? options : ({})
        d.text = text
        d.actionText = o.actionText ? o.actionText : ""
        d.action = o.action ? o.action : null
        d.key = o.key ? o.key : ""
        d.error = o.error === true
        // Built with the first notice, before it shows, so that it rises in.
        pill.active = true
        // Reading time: a second and a half plus about 15 characters a
        // second, more for errors, within reason.
        const reading = Math.min(10000, Math.max(3000, 1500 + 65 * text.length))
        const duration = o.duration !== undefined ? o.duration : (d.error ? reading + 2000 : reading)
        d.showing = true
        life.interval = Math.max(1, duration)
        if (duration > 0)
            life.restart()
        else
            life.stop()
    }
    // Dismisses the notice shown, or only one with this key.
    function dismiss(key) {
        if (key && key !== d.key)
            return
        life.stop()
        d.showing = false
        d.action = null
    }
    function trigger() {
        const action = d.action
        dismiss()
        if (action)
            action()
    }

    anchors.left: parent ? parent.left : undefined
    anchors.right: parent ? parent.right : undefined
    anchors.bottom: parent ? parent.bottom : undefined
    anchors.bottomMargin: 24
    height: pill.height

    Connections {
        target: Notices
        function onShown(text, options) { toast.show(text, options) }
        function onDismissed(key) { toast.dismiss(key) }
    }

    QtObject {
        id: d
        property string text
        property string actionText
        property var action: null
        property string key
        property bool error: false
        property bool showing: false
    }

    Timer {
        id: life
        // The pointer resting on the notice holds it.
        running: false
        onTriggered: if (pill.item && pill.item.hovered) restart(); else toast.dismiss()
    }

    // The pill costs nothing until the first notice.
    Loader {
        id: pill
        anchors.horizontalCenter: parent.horizontalCenter
        active: false
        sourceComponent: Rectangle {
            objectName: "toastPill"
            readonly property bool hovered: hover.hovered
            width: Math.min(toast.width - 32, content.implicitWidth + 32)
            height: Math.max(48, content.implicitHeight + 20)
            radius: 14
            color: Theme.inverseSurface
            opacity: d.showing ? 1 : 0
            visible: opacity > 0
            // Rises a little as it appears.
            transform: Translate { y: d.showing ? 0 : 12; Behavior on y { NumberAnimation { duration: 180; easing.type: Easing.OutCubic } } }
            Behavior on opacity { NumberAnimation { duration: 180 } }

            Accessible.role: Accessible.AlertMessage
            Accessible.name: d.text

            // Errors carry a red mark at the start.
            Rectangle {
                visible: d.error
                x: 12
                anchors.verticalCenter: parent.verticalCenter
                width: 4
                height: parent.height - 20
                radius: 2
                color: Theme.inverseDanger
            }

            Row {
                id: content
                anchors.centerIn: parent
                spacing: Theme.spacing
                readonly property real textRoom: toast.width - 64 - (action.visible ? action.width + spacing : 0)

                Text {
                    id: message
                    objectName: "toastText"
                    anchors.verticalCenter: parent.verticalCenter
                    width: Math.min(implicitWidth, content.textRoom)
                    text: d.text
                    font: Theme.chipFont
                    color: Theme.inverseText
                    wrapMode: Text.Wrap
                    maximumLineCount: 4
                    elide: Text.ElideRight
                    textFormat: Text.PlainText
                }

                Text {
                    id: action
                    objectName: "toastAction"
                    anchors.verticalCenter: parent.verticalCenter
                    visible: d.actionText.length > 0
                    text: d.actionText
                    font: Theme.buttonFont
                    color: Theme.inverseAccent
                    textFormat: Text.PlainText
                    opacity: actionArea.pressed ? 0.6 : 1

                    Accessible.role: Accessible.Button
                    Accessible.name: d.actionText
                    Accessible.onPressAction: toast.trigger()

                    // A target taller than the text. The rest of the notice
                    // lets clicks through: it lies over the list of a sheet
                    // or the volume, which stay usable while it shows.
                    MouseArea {
                        id: actionArea
                        objectName: "toastActionArea"
                        anchors.fill: parent
                        anchors.margins: -12
                        enabled: d.showing
                        onClicked: toast.trigger()
                    }
                    HoverHandler { cursorShape: Qt.PointingHandCursor }
                }
            }

            HoverHandler { id: hover }
        }
    }
}
