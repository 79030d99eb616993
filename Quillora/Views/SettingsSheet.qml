import QtQuick
import QtQuick.Window
import Quillora

// Settings, one section per group of quillora.conf: playing in the
// background, song notifications, keeping songs (the mode and the folder,
// chosen through the desktop's folder dialog), the colour scheme, and the
// sleep timer (its choices start it; while it counts, its countdown and
// Cancel). Every change is written to the file at once and holds at once.
Sheet {
    id: sheet
    objectName: "settingsSheet"

    property Preferences preferences: null
    property SleepTimer sleepTimer: null
    // Whether a station plays: the sleep timer has something to stop.
    property bool playing: false

    title: qsTr("Settings")
    initialFocusItem: backgroundSwitch

    function countdown(seconds) {
        const minutes = Math.floor(seconds / 60)
        const rest = seconds % 60
        return minutes + ":" + (rest < 10 ? "0" : "") + rest
    }

    FileChooser {
        id: folderChooser
        onChosen: url => sheet.preferences.setRecordingFolder(url.toString())
        onFailed: message => Notices.showError(message)
    }

    Flickable {
        anchors.fill: parent
        contentHeight: sections.height + 24
        clip: true
        boundsBehavior: Flickable.StopAtBounds

        Column {
            id: sections
            width: parent.width
            spacing: 20
            topPadding: 8

            SettingsSection {
                title: qsTr("Playing")
                SettingsSwitch {
                    id: backgroundSwitch
                    objectName: "backgroundSwitch"
                    text: qsTr("Keep playing when the window closes")
                    detail: qsTr("The media controls and the tray icon bring it back.")
                    checked: sheet.preferences ? sheet.preferences.background : true
                    onToggled: sheet.preferences.background = !backgroundSwitch.checked
                }
                SettingsSwitch {
                    id: notificationsSwitch
                    objectName: "notificationsSwitch"
                    text: qsTr("Notify when the song changes")
                    detail: qsTr("Not while the window is in front.")
                    checked: sheet.preferences ? sheet.preferences.notifications : false
                    onToggled: sheet.preferences.notifications = !notificationsSwitch.checked
                }
            }

            SettingsSection {
                objectName: "recordingSection"
                title: qsTr("Keeping songs")
                Flow {
                    width: parent.width
                    spacing: 8
                    Repeater {
                        model: [{ key: "off", name: qsTr("Off") },
                                { key: "all", name: qsTr("Every song") },
                                { key: "decide", name: qsTr("I choose") }]
                        Chip {
                            id: modeChip
                            required property var modelData
                            objectName: "recording-" + modelData.key
                            text: modelData.name
                            checked: sheet.preferences !== null && sheet.preferences.recordingMode === modelData.key
                            Accessible.role: Accessible.RadioButton
                            onClicked: sheet.preferences.recordingMode = modeChip.modelData.key
                        }
                    }
                }
                Text {
                    width: parent.width
                    text: {
                        const mode = sheet.preferences ? sheet.preferences.recordingMode : "off"
                        if (mode === "all")
                            return qsTr("Every song heard from its start to its end is kept in the folder.")
                        if (mode === "decide")
                            return qsTr("The last ten songs wait; Save keeps one in the folder.")
                        return qsTr("The switch beside the song still keeps one station's songs.")
                    }
                    font: Theme.detailFont
                    color: Theme.secondaryText
                    wrapMode: Text.Wrap
                    textFormat: Text.PlainText
                }
                Item {
                    width: parent.width
                    height: Math.max(folderText.implicitHeight, chooseFolder.implicitHeight)
                    Text {
                        id: folderText
                        objectName: "recordingFolder"
                        anchors.left: parent.left
                        anchors.right: chooseFolder.left
                        anchors.rightMargin: 8
                        anchors.verticalCenter: parent.verticalCenter
                        text: sheet.preferences ? sheet.preferences.recordingFolder : ""
                        font: Theme.fieldFont
                        color: Theme.text
                        elide: Text.ElideMiddle
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: qsTr("Folder: %1").arg(text)
                    }
                    SmallButton {
                        id: chooseFolder
                        objectName: "chooseFolderButton"
                        anchors.right: parent.right
                        anchors.verticalCenter: parent.verticalCenter
                        text: qsTr("Choose…")
                        enabled: folderChooser.available && !folderChooser.busy
                        onClicked: folderChooser.openFolder(qsTr("Folder for kept songs"), sheet.Window.window)
                    }
                }
                Text {
                    width: parent.width
                    visible: folderChooser.checked && !folderChooser.available
                    text: qsTr("No folder dialog on this desktop: set folder= under [recording] in quillora.conf.")
                    font: Theme.detailFont
                    color: Theme.secondaryText
                    wrapMode: Text.Wrap
                    textFormat: Text.PlainText
                }
            }

            SettingsSection {
                title: qsTr("Colours")
                Flow {
                    width: parent.width
                    spacing: 8
                    Repeater {
                        model: [{ key: "system", name: qsTr("As the desktop") },
                                { key: "light", name: qsTr("Light") },
                                { key: "dark", name: qsTr("Dark") }]
                        Chip {
                            id: schemeChip
                            required property var modelData
                            text: modelData.name
                            checked: sheet.preferences !== null && sheet.preferences.colorScheme === modelData.key
                            Accessible.role: Accessible.RadioButton
                            onClicked: sheet.preferences.colorScheme = schemeChip.modelData.key
                        }
                    }
                }
            }

            SettingsSection {
                title: qsTr("Sleep timer")
                Text {
                    objectName: "sleepCountdown"
                    width: parent.width
                    visible: sheet.sleepTimer !== null && sheet.sleepTimer.active
                    text: sheet.sleepTimer ? qsTr("Stops in %1").arg(sheet.countdown(sheet.sleepTimer.remainingSeconds))
                                           : ""
                    font: Theme.fieldFont
                    color: Theme.text
                    textFormat: Text.PlainText
                }
                Text {
                    width: parent.width
                    visible: !sheet.playing && !(sheet.sleepTimer && sheet.sleepTimer.active)
                    text: qsTr("Starts while a station plays.")
                    font: Theme.detailFont
                    color: Theme.secondaryText
                    wrapMode: Text.Wrap
                    textFormat: Text.PlainText
                }
                Flow {
                    width: parent.width
                    spacing: 8
                    Repeater {
                        model: [15, 30, 60, 90]
                        Chip {
                            id: sleepChip
                            required property int modelData
                            objectName: "sleep" + modelData
                            // Every choice is plural in English; translations get their plural forms.
                            text: qsTr("Stop in %n minutes", "", sleepChip.modelData)
                            enabled: sheet.playing
                            checked: sheet.preferences !== null && sheet.preferences.sleepTimerMinutes === modelData
                                     && sheet.sleepTimer !== null && sheet.sleepTimer.active
                            Accessible.role: Accessible.Button
                            onClicked: {
                                sheet.preferences.sleepTimerMinutes = sleepChip.modelData
                                sheet.sleepTimer.start(sleepChip.modelData)
                            }
                        }
                    }
                    SmallButton {
                        objectName: "sleepCancel"
                        visible: sheet.sleepTimer !== null && sheet.sleepTimer.active
                        text: qsTr("Cancel")
                        onClicked: sheet.sleepTimer.cancel()
                    }
                }
            }

            Text {
                width: parent.width
                visible: sheet.preferences !== null && sheet.preferences.saveError.length > 0
                text: sheet.preferences ? sheet.preferences.saveError : ""
                font: Theme.detailFont
                color: Theme.danger
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
            }
        }
    }
}
