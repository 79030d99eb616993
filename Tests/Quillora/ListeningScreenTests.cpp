// What the main screen shows of the stream: the ring round the play button
// while connecting, the countdown or the failure in place of the genre, the
// song line and the window title, on window grabs of the real screen driven
// through a media player the test controls.
#include "ScreenFixture.h"

#include <QQmlProperty>
#include <QtQml/qqmlextensionplugin.h>

#include <cmath>

Q_IMPORT_QML_PLUGIN(QuilloraPlugin)
Q_IMPORT_QML_PLUGIN(RemoteImagePlugin)

namespace {

const QColor lightBackground(0xf3, 0xf1, 0xf9);

bool near(QColor a, QColor b, int tolerance = 6)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

// With QUILLORA_TEST_GRABS=<folder>, the window as it looks now, to look at.
void keepGrab(const QImage& image, const QString& name)
{
    if (const QByteArray dir = qgetenv("QUILLORA_TEST_GRABS"); !dir.isEmpty())
        image.save(QStringLiteral("%1/listening-%2.png").arg(QString::fromLocal8Bit(dir), name));
}

StreamTags icy(const QByteArray& title)
{
    return {{QStringLiteral("icy-title"), title}};
}

class Screen : public ScreenFixture {
public:
    // Two stations delivered, the first selected.
    bool readyWithStations(const QList<Station>& list = {testStation(1), testStation(2)})
    {
        if (!ready())
            return false;
        loader->deliver(list);
        return QTest::qWaitFor([this] { return item("playButton")->isEnabled(); });
    }

    PlaybackSession::State state() const { return player->session()->state(); }
    QString genreLine() const { return item("genre")->property("text").toString(); }
    QQuickItem* ring() const { return item("progressRing"); }

    // Pixels on the ring's circle, a quarter turn apart, that differ from
    // the screen's background: the faint track shows all round.
    int ringPixelsDrawn() const
    {
        const QImage image = grab();
        const QPointF centre = item("playButton")->mapToScene(QPointF(47.5, 47.5));
        const qreal radius = ring()->property("radius").toReal();
        int drawn = 0;
        for (int step = 0; step < 8; ++step) {
            const qreal angle = step * M_PI / 4;
            const QPoint at = (centre + QPointF(std::cos(angle), std::sin(angle)) * radius).toPoint();
            drawn += !near(image.pixelColor(at), lightBackground, 12);
        }
        return drawn;
    }
};

} // namespace

class ListeningScreenTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("QUILLORA_COLOR_SCHEME", "light"); }

    // Connecting, playing, a drop and the wait before the next try, a
    // failure, a stop: the ring turns only while the stream is being
    // opened, and the genre line says what happens only while it matters.
    void ringAndStatusFollowTheStream()
    {
        Screen screen;
        QVERIFY(screen.readyWithStations());
        QVERIFY(!screen.ring()->isVisible());
        QCOMPARE(screen.ringPixelsDrawn(), 0);
        QCOMPARE(screen.genreLine(), QStringLiteral("Genre 1"));

        QTest::mouseClick(screen.window, Qt::LeftButton, {}, screen.centreOf(screen.item("playButton")));
        QCOMPARE(screen.state(), PlaybackSession::State::Connecting);
        QVERIFY(screen.ring()->isVisible());
        QTRY_COMPARE(screen.ringPixelsDrawn(), 8);
        QCOMPARE(screen.genreLine(), QStringLiteral("Genre 1"));
        keepGrab(screen.grab(), QStringLiteral("connecting"));

        screen.media->sound(true);
        QCOMPARE(screen.state(), PlaybackSession::State::Playing);
        QVERIFY(!screen.ring()->isVisible());
        QTRY_COMPARE(screen.ringPixelsDrawn(), 0);
        QCOMPARE(screen.genreLine(), QStringLiteral("Genre 1"));
        const QColor genreColour = screen.item("genre")->property("color").value<QColor>();

        // The source goes away: a countdown to the next try, the ring on.
        screen.media->fail(QStringLiteral("end of file"), EndCause::StreamEnded);
        QCOMPARE(screen.state(), PlaybackSession::State::Reconnecting);
        QCOMPARE(screen.genreLine(), QStringLiteral("Reconnecting in 1 s…"));
        QVERIFY(screen.ring()->isVisible());
        QTRY_COMPARE(screen.ringPixelsDrawn(), 8);
        keepGrab(screen.grab(), QStringLiteral("reconnecting"));
        // The try itself: no countdown while it connects.
        QTRY_COMPARE_WITH_TIMEOUT(screen.genreLine(), QStringLiteral("Reconnecting…"), 3000);
        QVERIFY(screen.ring()->isVisible());
        // Sound again: the normal look.
        screen.media->sound(true);
        QCOMPARE(screen.genreLine(), QStringLiteral("Genre 1"));
        QVERIFY(!screen.ring()->isVisible());
        QCOMPARE(screen.item("genre")->property("color").value<QColor>(), genreColour);

        // Another station whose address is not found, three times: given
        // up, the reason in place of the genre, in another colour, no ring.
        screen.player->next();
        QCOMPARE(screen.state(), PlaybackSession::State::Connecting);
        for (int i = 0; i < 3; ++i) {
            screen.media->fail(QStringLiteral("loading failed"), EndCause::NotFound);
            if (i < 2) {
                QCOMPARE(screen.state(), PlaybackSession::State::Reconnecting);
                screen.player->resume(); // tries at once
            }
        }
        QCOMPARE(screen.state(), PlaybackSession::State::Failed);
        QCOMPARE(screen.genreLine(), QStringLiteral("Not found (404)"));
        QVERIFY(screen.item("genre")->property("color").value<QColor>() != genreColour);
        QVERIFY(!screen.ring()->isVisible());
        QTRY_COMPARE(screen.ringPixelsDrawn(), 0);
        keepGrab(screen.grab(), QStringLiteral("failed"));

        // Stopping clears the failure.
        screen.player->stop();
        QCOMPARE(screen.genreLine(), QStringLiteral("Genre 2"));
        QVERIFY(!screen.ring()->isVisible());
    }

    // The song under the title and in the window title; a long one elided
    // on screen with its whole text on hover; hostile text stays text.
    void songLineAndWindowTitle()
    {
        Screen screen;
        QVERIFY(screen.readyWithStations());
        auto* line = screen.item("songLine");
        QVERIFY(line);
        const qreal emptyHeight = line->height();
        QVERIFY(emptyHeight > 10);
        const qreal controlsY = screen.item("playButton")->mapToScene({}).y();
        QCOMPARE(screen.window->title(), QStringLiteral("Station 1 — Quillora"));

        screen.player->resume();
        screen.media->sound(true);
        emit screen.media->metadataChanged(icy("Nina Simone - Feeling Good"));
        QCOMPARE(line->property("song").toString(), QStringLiteral("Nina Simone – Feeling Good"));
        QCOMPARE(screen.window->title(), QStringLiteral("Nina Simone – Feeling Good — Station 1 — Quillora"));
        QVERIFY(!line->property("truncated").toBool());
        // The line has its height already: nothing below moves.
        QCOMPARE(line->height(), emptyHeight);
        QCOMPARE(screen.item("playButton")->mapToScene({}).y(), controlsY);

        // A song with placeholders of its own is shown as sent.
        emit screen.media->metadataChanged(icy("%2 %1 - 100%"));
        QCOMPARE(screen.window->title(), QStringLiteral("%2 %1 – 100% — Station 1 — Quillora"));

        // Longer than the line: elided; hovering shows all of it, leaving
        // hides it.
        const QByteArray longTitle = "The Orchestra of the Ridiculously Long Name - "
                                     "A Symphony in Nine Movements for Strings, Brass and Patience";
        emit screen.media->metadataChanged(icy(longTitle));
        const QString full = SongMetadata::songFrom(icy(longTitle), {}).text;
        QCOMPARE(line->property("song").toString(), full);
        QTRY_VERIFY(line->property("truncated").toBool());
        QVERIFY(line->width() <= screen.window->width() - 40);
        auto* tip = screen.item("songTip");
        QVERIFY(!tip->isVisible());
        QTest::mouseMove(screen.window, screen.centreOf(line));
        QTRY_VERIFY(tip->isVisible());
        QCOMPARE(screen.item("songTipText")->property("text").toString(), full);
        // The bubble stays inside the window and above the controls.
        const QRectF bubble = tip->mapRectToScene(QRectF(0, 0, tip->width(), tip->height()));
        QVERIFY(QRectF(0, 0, screen.window->width(), screen.window->height()).contains(bubble));
        QVERIFY(tip->height() > emptyHeight); // wrapped over lines
        keepGrab(screen.grab(), QStringLiteral("song-tip"));
        QTest::mouseMove(screen.window, QPoint(5, 5));
        QTRY_VERIFY(!tip->isVisible());

        // A short song needs no bubble.
        emit screen.media->metadataChanged(icy("Short - Song"));
        QTRY_VERIFY(!line->property("truncated").toBool());
        QTest::mouseMove(screen.window, screen.centreOf(line));
        QTest::qWait(800);
        QVERIFY(!tip->isVisible());

        // Another station: no song, the station alone in the title.
        screen.player->next();
        QCOMPARE(line->property("song").toString(), QString());
        QCOMPARE(screen.window->title(), QStringLiteral("Station 2 — Quillora"));
    }
};

QTEST_MAIN(ListeningScreenTests)
#include "ListeningScreenTests.moc"
