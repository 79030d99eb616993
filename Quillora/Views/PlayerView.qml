import QtQuick
import Quillora

// The station pager: one card per station in a row that follows the finger
// and settles on a page. Only the pages near the visible one exist (the
// list view creates and destroys cards as the row moves), so a catalogue of
// thousands of stations costs a handful of cards.
//
// The selection is not the pager's: `index` is bound to its owner, and a
// swipe asks the owner to change it (indexRequested).
Item {
    id: pager

    required property StationListModel pages
    property int index: 0
    signal indexRequested(int index)
    // Whether the empty pager turns its indicator: only while a catalogue is
    // on its way, not once it failed or came without stations.
    property bool busy: true

    // Where the strip sits while a drag is in progress, and whether one is.
    property real offset: 0
    property bool isUserSwiping: false

    // The width of one page. The full width by default; narrower pages let
    // the neighbours' cards show their edges on both sides of the selected
    // one.
    property real pageWidth: width
    // How far the selected page sits from the strip's left edge when it rests.
    readonly property real pageInset: (width - pageWidth) / 2

    // The strip's horizontal position: page i rests at -i * pageWidth, moved
    // in by the inset.
    property real stripPosition: 0
    // A glide across more than a page: the cards flying past hold their
    // logo downloads back, so a wrap across thousands of stations fetches
    // the logo it lands on and not the ones it passes.
    property bool isSliding: false
    // A function, not a binding: change handlers run before bindings that
    // depend on the same property have been re-evaluated.
    function restPosition() { return (width - pageWidth) / 2 - index * pageWidth }

    function glideToRest(easing) {
        glide.stop()
        if (pages.count === 0 || width <= 0) {
            stripPosition = restPosition()
            return
        }
        glide.easing.type = easing.type
        if (easing.type === Easing.Bezier)
            glide.easing.bezierCurve = easing.curve
        glide.to = restPosition()
        isSliding = Math.abs(glide.to - stripPosition) > pageWidth * 1.5
        glide.start()
    }

    onIndexChanged: if (!isUserSwiping) glideToRest({ type: Easing.Linear })
    onWidthChanged: { glide.stop(); if (!isUserSwiping) stripPosition = restPosition() }
    onPageWidthChanged: { glide.stop(); if (!isUserSwiping) stripPosition = restPosition() }
    onStripPositionChanged: strip.contentX = -stripPosition
    Connections {
        target: pager.pages
        // A new catalogue lays the row out afresh: put it back where the
        // selection rests.
        function onModelReset() {
            glide.stop()
            if (!pager.isUserSwiping)
                pager.stripPosition = pager.restPosition()
            strip.contentX = -pager.stripPosition
        }
    }
    Component.onCompleted: {
        stripPosition = restPosition()
        strip.contentX = -stripPosition
    }

    NumberAnimation {
        id: glide
        target: pager
        property: "stripPosition"
        duration: 350
        onStopped: pager.isSliding = false
    }

    ActivityIndicator {
        objectName: "activityIndicator"
        visible: pager.pages.count === 0 && pager.busy
        width: 40
        height: 40
        anchors.centerIn: parent
        color: Theme.textOnPrimary
    }

    ListView {
        id: strip
        objectName: "strip"
        visible: pager.pages.count > 0
        anchors.fill: parent
        orientation: ListView.Horizontal
        interactive: false
        boundsBehavior: Flickable.StopAtBounds
        // Cards outside the pager stay visible (the pager does not clip), and
        // a neighbour is ready before it slides in.
        clip: false
        cacheBuffer: 0
        // The first and the last page rest inset too.
        leftMargin: pager.pageInset
        rightMargin: pager.pageInset
        // Only once laid out: a list view given rows while it, or its
        // pages, are still 0 wide would build a card for every one of them
        // (each 0 wide) to fill its view. A catalogue read from the disk is
        // there before the screen has its size, and the page width follows
        // the width a moment later.
        model: width > 0 && pager.pageWidth > 0 ? pager.pages : null
        // The current item would be kept alive wherever the row is; make it
        // the visible page.
        currentIndex: pager.index
        // A list view given a new model (or rows after none) picks its own
        // current row; put the binding back so it follows the selection.
        onCountChanged: if (currentIndex !== pager.index) currentIndex = Qt.binding(() => pager.index)
        highlightFollowsCurrentItem: false
        delegate: StationView {
            width: pager.pageWidth
            height: strip.height
            holdsLogoBack: pager.isSliding
        }
        Accessible.ignored: true
    }

    SwipeArea {
        id: swipe
        anchors.fill: parent
        enabled: pager.pages.count > 0
        threshold: 10

        onDragChanged: translation => {
            glide.stop()
            pager.isUserSwiping = true
            pager.offset = translation + pager.restPosition()
            pager.stripPosition = pager.offset
        }
        onDragEnded: (translation, predicted) => {
            const half = pager.pageWidth / 2
            if (predicted < -half && pager.index < pager.pages.count - 1)
                pager.indexRequested(pager.index + 1)
            if (predicted > half && pager.index > 0)
                pager.indexRequested(pager.index - 1)
            pager.isUserSwiping = false
            pager.glideToRest({ type: Easing.Bezier, curve: [0.42, 0, 0.58, 1, 1, 1] })
        }
        // A neighbour's edge beside the selected card turns to it.
        onTapped: x => {
            const inset = (pager.width - pager.pageWidth) / 2
            if (inset > 0 && x < inset && pager.index > 0)
                pager.indexRequested(pager.index - 1)
            if (inset > 0 && x > pager.width - inset && pager.index < pager.pages.count - 1)
                pager.indexRequested(pager.index + 1)
        }
        onStepRequested: direction => {
            const next = pager.index + direction
            if (!pager.isUserSwiping && next >= 0 && next < pager.pages.count)
                pager.indexRequested(next)
        }
    }
}
