// The pager's gesture with real input events: the 10-point threshold, the
// strip following the finger, the release deciding by the predicted end
// against half a page, one page at most, and the glide back; on a wide
// window, narrower pages with the neighbours' edges in view.
#include "ScreenFixture.h"

#include <QWheelEvent>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(QuilloraPlugin)
Q_IMPORT_QML_PLUGIN(RemoteImagePlugin)

namespace {

struct Pager {
    explicit Pager(ScreenFixture& screen)
        : screen(screen)
        , pager(screen.item("pager"))
        , strip(screen.item("strip"))
        , centre(screen.centreOf(pager))
    {
    }

    qreal width() const { return pager->property("pageWidth").toReal(); }
    qreal stripX() const { return -strip->property("contentX").toReal(); }
    qreal restX(int index) const { return (pager->width() - width()) / 2 - index * width(); }
    bool swiping() const { return pager->property("isUserSwiping").toBool(); }

    // A drag of `dx` points in `steps` moves, `stepMs` apart, then a pause of
    // `holdMs` before the release.
    void drag(int dx, int steps, int stepMs, int holdMs = 0)
    {
        QTest::mousePress(screen.window, Qt::LeftButton, {}, centre);
        for (int i = 1; i <= steps; ++i)
            QTest::mouseMove(screen.window, centre + QPoint(dx * i / steps, 0), stepMs);
        QTest::mouseRelease(screen.window, Qt::LeftButton, {}, centre + QPoint(dx, 0), holdMs > 0 ? holdMs : 1);
    }

    ScreenFixture& screen;
    QQuickItem* pager;
    QQuickItem* strip;
    QPoint centre;
};

} // namespace

class PagerTests : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScreenFixture> m_screen;

    bool open(int count, int selected = 0, QSize size = QSize(440, 800))
    {
        m_screen = std::make_unique<ScreenFixture>(size);
        if (!m_screen->ready())
            return false;
        m_screen->loader->deliver(stations(count));
        m_screen->player->setSelectedStationIndex(selected);
        Pager pager(*m_screen);
        return QTest::qWaitFor([&] { return qFuzzyCompare(1 + pager.stripX(), 1 + pager.restX(selected)); });
    }

private slots:
    void cleanup() { m_screen.reset(); }

    void aMoveUnderTenPointsDoesNothing()
    {
        QVERIFY(open(3, 1));
        Pager pager(*m_screen);
        QTest::mousePress(m_screen->window, Qt::LeftButton, {}, pager.centre);
        QTest::mouseMove(m_screen->window, pager.centre + QPoint(-6, 7), 10);
        QVERIFY(!pager.swiping());
        QCOMPARE(pager.stripX(), pager.restX(1));
        QTest::mouseRelease(m_screen->window, Qt::LeftButton, {}, pager.centre + QPoint(-6, 7), 10);
        QCOMPARE(m_screen->player->selectedStationIndex(), 1);
        QCOMPARE(pager.stripX(), pager.restX(1));
    }

    void theStripFollowsTheFinger()
    {
        QVERIFY(open(3, 1));
        Pager pager(*m_screen);
        QTest::mousePress(m_screen->window, Qt::LeftButton, {}, pager.centre);
        QTest::mouseMove(m_screen->window, pager.centre + QPoint(-40, 0), 30);
        QTest::mouseMove(m_screen->window, pager.centre + QPoint(-100, 3), 30);
        QVERIFY(pager.swiping());
        QCOMPARE(pager.stripX(), pager.restX(1) - 100);
        QTest::mouseMove(m_screen->window, pager.centre + QPoint(30, 3), 30);
        QCOMPARE(pager.stripX(), pager.restX(1) + 30);
        QTest::mouseRelease(m_screen->window, Qt::LeftButton, {}, pager.centre + QPoint(30, 3), 300);
        QVERIFY(!pager.swiping());
        QTRY_COMPARE(pager.stripX(), pager.restX(1));
        QCOMPARE(m_screen->player->selectedStationIndex(), 1);
    }

    void aSlowDragToAFifthGlidesBack()
    {
        QVERIFY(open(3, 1));
        Pager pager(*m_screen);
        pager.drag(-int(pager.width() / 5), 10, 60, 200);
        QCOMPARE(m_screen->player->selectedStationIndex(), 1);
        // It glides rather than jumps.
        QVERIFY(pager.stripX() < pager.restX(1));
        QTRY_COMPARE(pager.stripX(), pager.restX(1));
    }

    void aFlingMovesOnePageEitherWay()
    {
        QVERIFY(open(4, 1));
        Pager pager(*m_screen);
        // 60 points in 30 ms: short, but its predicted end lies far beyond
        // half the width.
        pager.drag(-60, 3, 10);
        QCOMPARE(m_screen->player->selectedStationIndex(), 2);
        QTRY_COMPARE(pager.stripX(), pager.restX(2));

        // However far and fast, one page per release.
        pager.drag(-int(pager.width() * 0.9), 3, 10);
        QCOMPARE(m_screen->player->selectedStationIndex(), 3);
        QTRY_COMPARE(pager.stripX(), pager.restX(3));

        pager.drag(60, 3, 10);
        QCOMPARE(m_screen->player->selectedStationIndex(), 2);
        QTRY_COMPARE(pager.stripX(), pager.restX(2));

        // A slow drag past half the width also turns the page.
        pager.drag(int(pager.width() * 0.6), 12, 60, 150);
        QCOMPARE(m_screen->player->selectedStationIndex(), 1);
    }

    void noMovePastTheFirstOrLastPage()
    {
        QVERIFY(open(3, 2));
        Pager pager(*m_screen);
        pager.drag(-80, 4, 10);
        QCOMPARE(m_screen->player->selectedStationIndex(), 2);
        QTRY_COMPARE(pager.stripX(), pager.restX(2));

        m_screen->player->setSelectedStationIndex(0);
        QTRY_COMPARE(pager.stripX(), pager.restX(0));
        pager.drag(80, 4, 10);
        QCOMPARE(m_screen->player->selectedStationIndex(), 0);
        QTRY_COMPARE(pager.stripX(), pager.restX(0));

        // One page: the card moves with the finger and always comes back.
        QVERIFY(open(1));
        Pager single(*m_screen);
        QTest::mousePress(m_screen->window, Qt::LeftButton, {}, single.centre);
        QTest::mouseMove(m_screen->window, single.centre + QPoint(-150, 0), 20);
        QCOMPARE(single.stripX(), -150.0);
        QTest::mouseRelease(m_screen->window, Qt::LeftButton, {}, single.centre + QPoint(-150, 0), 10);
        QCOMPARE(m_screen->player->selectedStationIndex(), 0);
        QTRY_COMPARE(single.stripX(), 0.0);
    }

    void wheelAndTouchpadTurnOnePagePerGesture()
    {
        QVERIFY(open(4, 1));
        Pager pager(*m_screen);
        ulong time = 100000;
        const auto wheel = [&](QPoint angle, Qt::ScrollPhase phase, ulong afterMs) {
            time += afterMs;
            QWheelEvent event(QPointF(pager.centre), QPointF(pager.centre), QPoint(), angle, Qt::NoButton,
                              Qt::NoModifier, phase, false);
            event.setTimestamp(time);
            QCoreApplication::sendEvent(m_screen->window, &event);
        };
        // One notch down: the next page.
        wheel(QPoint(0, -120), Qt::NoScrollPhase, 10);
        QCOMPARE(m_screen->player->selectedStationIndex(), 2);
        // Notches in quick succession belong to the same turn.
        wheel(QPoint(0, -120), Qt::NoScrollPhase, 50);
        wheel(QPoint(0, -120), Qt::NoScrollPhase, 50);
        QCOMPARE(m_screen->player->selectedStationIndex(), 2);
        // After a pause, a notch up goes back.
        wheel(QPoint(0, 120), Qt::NoScrollPhase, 600);
        QCOMPARE(m_screen->player->selectedStationIndex(), 1);

        // A touchpad swipe to the left: many small events, one page back.
        wheel(QPoint(0, 0), Qt::ScrollBegin, 600);
        for (int i = 0; i < 30; ++i)
            wheel(QPoint(20, 0), Qt::ScrollUpdate, 8);
        wheel(QPoint(0, 0), Qt::ScrollEnd, 8);
        wheel(QPoint(15, 0), Qt::ScrollMomentum, 8);
        QCOMPARE(m_screen->player->selectedStationIndex(), 0);
        QTRY_COMPARE(pager.stripX(), pager.restX(0));
        // Nothing before the first page.
        wheel(QPoint(0, 120), Qt::NoScrollPhase, 600);
        QCOMPARE(m_screen->player->selectedStationIndex(), 0);
    }

    void aWideBandShowsTheNeighboursEdges()
    {
        QVERIFY(open(3, 1, QSize(1280, 800)));
        Pager pager(*m_screen);
        const qreal band = pager.pager->width();
        QVERIFY2(pager.width() < band - 80, "pages are narrower than the band");
        // Both neighbours' cards reach into the band.
        QList<QQuickItem*> cards = itemsNamed(pager.strip, "logo");
        QCOMPARE(cards.size(), 3);
        int inView = 0;
        for (QQuickItem* card : cards) {
            const QRectF r = card->mapRectToItem(pager.pager, card->boundingRect());
            inView += r.right() > 0 && r.left() < band;
        }
        QCOMPARE(inView, 3);

        // Half a page, not half the band, turns the page.
        pager.drag(-int(pager.width() * 0.6), 12, 60, 150);
        QCOMPARE(m_screen->player->selectedStationIndex(), 2);
        QTRY_COMPARE(pager.stripX(), pager.restX(2));

        // A click on a neighbour's edge turns to it; on the card, nothing.
        QTest::mouseClick(m_screen->window, Qt::LeftButton, {}, pager.centre - QPoint(int(band / 2) - 10, 0));
        QCOMPARE(m_screen->player->selectedStationIndex(), 1);
        QTRY_COMPARE(pager.stripX(), pager.restX(1));
        QTest::mouseClick(m_screen->window, Qt::LeftButton, {}, pager.centre);
        QCOMPARE(m_screen->player->selectedStationIndex(), 1);
    }

    void nextOnTheLastStationSlidesBackToTheFirst()
    {
        QVERIFY(open(4, 3));
        Pager pager(*m_screen);
        QTest::mouseClick(m_screen->window, Qt::LeftButton, {}, m_screen->centreOf(m_screen->item("nextButton")));
        QCOMPARE(m_screen->player->selectedStationIndex(), 0);
        // Sliding, not jumping: somewhere between the two pages first.
        QTRY_VERIFY(pager.stripX() > pager.restX(3) && pager.stripX() < pager.restX(0));
        QTRY_COMPARE(pager.stripX(), pager.restX(0));

        QTest::mouseClick(m_screen->window, Qt::LeftButton, {}, m_screen->centreOf(m_screen->item("previousButton")));
        QCOMPARE(m_screen->player->selectedStationIndex(), 3);
        QTRY_COMPARE(pager.stripX(), pager.restX(3));
    }
};

QTEST_MAIN(PagerTests)
#include "PagerTests.moc"
