// What the main screen shows of the stream: the ring round the play button
// while connecting, the countdown or the failure in place of the genre, the
// song line and the window title, and the list of songs heard lately that
// opens from the song line; on window grabs of the real screen driven
// through a media player the test controls.
#include "Views/ColorScheme.h"
#include "ScreenFixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QQmlProperty>
#include <QtQml/qqmlextensionplugin.h>

#include <cmath>

Q_IMPORT_QML_PLUGIN(QuilloraPlugin)
Q_IMPORT_QML_PLUGIN(RemoteImagePlugin)

namespace {

const QColor lightBackground(0xf3, 0xf1, 0xf9);

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
    // The ring is built the first time the button is busy.
    bool ringShown() const { return shows("progressRing"); }

    // Pixels on the ring's circle, a quarter turn apart, that differ from
    // the screen's background: the faint track shows all round.
    int ringPixelsDrawn() const
    {
        const QImage image = grab();
        const QPointF centre = item("playButton")->mapToScene(QPointF(47.5, 47.5));
        // The ring's radius: 11 points outside the button.
        const qreal radius = item("playButton")->width() / 2 + 11;
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
    void initTestCase() { ColorScheme::setOverride(QStringLiteral("light")); }

    // Connecting, playing, a drop and the wait before the next try, a
    // failure, a stop: the ring turns only while the stream is being
    // opened, and the genre line says what happens only while it matters.
    void ringAndStatusFollowTheStream()
    {
        Screen screen;
        QVERIFY(screen.readyWithStations());
        QVERIFY(!screen.ringShown());
        QCOMPARE(screen.ringPixelsDrawn(), 0);
        QCOMPARE(screen.genreLine(), QStringLiteral("Genre 1"));

        screen.click("playButton");
        QCOMPARE(screen.state(), PlaybackSession::State::Connecting);
        QVERIFY(screen.ringShown());
        QTRY_COMPARE(screen.ringPixelsDrawn(), 8);
        QCOMPARE(screen.genreLine(), QStringLiteral("Genre 1"));
        screen.keepGrab(QStringLiteral("connecting"));

        screen.media->sound(true);
        QCOMPARE(screen.state(), PlaybackSession::State::Playing);
        QVERIFY(!screen.ringShown());
        QTRY_COMPARE(screen.ringPixelsDrawn(), 0);
        QCOMPARE(screen.genreLine(), QStringLiteral("Genre 1"));
        const QColor genreColour = screen.item("genre")->property("color").value<QColor>();

        // The source goes away: a countdown to the next try, the ring on.
        screen.media->fail(QStringLiteral("end of file"), EndCause::StreamEnded);
        QCOMPARE(screen.state(), PlaybackSession::State::Reconnecting);
        QCOMPARE(screen.genreLine(), QStringLiteral("Reconnecting in 1 s…"));
        QVERIFY(screen.ringShown());
        QTRY_COMPARE(screen.ringPixelsDrawn(), 8);
        screen.keepGrab(QStringLiteral("reconnecting"));
        // The try itself: no countdown while it connects.
        QTRY_COMPARE_WITH_TIMEOUT(screen.genreLine(), QStringLiteral("Reconnecting…"), 20000);
        QVERIFY(screen.ringShown());
        // Sound again: the normal look.
        screen.media->sound(true);
        QCOMPARE(screen.genreLine(), QStringLiteral("Genre 1"));
        QVERIFY(!screen.ringShown());
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
        QVERIFY(!screen.ringShown());
        QTRY_COMPARE(screen.ringPixelsDrawn(), 0);
        screen.keepGrab(QStringLiteral("failed"));

        // Stopping clears the failure.
        screen.player->stop();
        QCOMPARE(screen.genreLine(), QStringLiteral("Genre 2"));
        QVERIFY(!screen.ringShown());
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
        screen.keepGrab(QStringLiteral("song-tip"));
        QTest::mouseMove(screen.window, QPoint(5, 5));
        QTRY_VERIFY(!tip->isVisible());

        // A short song needs no bubble.
        emit screen.media->metadataChanged(icy("Short - Song"));
        QTRY_VERIFY(!line->property("truncated").toBool());
        QTest::mouseMove(screen.window, screen.centreOf(line));
        QTRY_VERIFY(tip->property("rested").toBool());
        QVERIFY(!tip->isVisible());

        // Another station: no song, the station alone in the title.
        screen.player->next();
        QCOMPARE(line->property("song").toString(), QString());
        QCOMPARE(screen.window->title(), QStringLiteral("Station 2 — Quillora"));
    }

    // Opened from the song line: newest first, each row copied by its
    // button, a click or the keyboard; the playing stream's details above;
    // Clear empties it in one go.
    void recentlyPlayedListCopiesAndClears()
    {
        Screen screen;
        QVERIFY(screen.readyWithStations());
        auto* line = screen.item("songLine");
        // Nothing heard, nothing playing: the line offers nothing.
        QVERIFY(!line->property("clickable").toBool());
        screen.click(line);
        QCOMPARE(screen.item("recentlyPlayedLoader")->property("status").toInt(), 0); // Loader.Null

        const QDateTime today = QDateTime::currentDateTimeUtc();
        screen.recentlyPlayed.add(QStringLiteral("Station 9"), QStringLiteral("Old – Song"), today.addSecs(-600));
        screen.recentlyPlayed.add(QStringLiteral("Station 1"), QStringLiteral("Middle – Song"), today.addSecs(-300));
        screen.recentlyPlayed.add(QStringLiteral("Station 1"), QStringLiteral("New – Song"), today);
        // With songs heard, the line offers them by name while none is on air.
        QTRY_COMPARE(screen.item("songText")->property("text").toString(), QStringLiteral("Recently played"));

        screen.player->resume();
        screen.media->sound(true);
        emit screen.media->metadataChanged(icy("Now - Playing"));
        emit screen.media->streamDetailsChanged(StreamDetails{QStringLiteral("aac"), 128});
        screen.click(line);
        QQuickItem* sheet = nullptr;
        QTRY_VERIFY((sheet = screen.item("recentlyPlayedSheet")));
        QTRY_COMPARE(sheet->property("position").toReal(), 1.0);
        QCOMPARE(screen.item("streamDetails")->property("text").toString(),
                 QStringLiteral("Station 1 · AAC · 128 kbit/s"));

        auto* list = screen.item("recentlyPlayedList");
        QList<QQuickItem*> rows;
        QTRY_COMPARE((rows = itemsNamed(list, QStringLiteral("recentlyPlayedRow"))).size(), 3);
        std::sort(rows.begin(), rows.end(), [](QQuickItem* a, QQuickItem* b) { return a->y() < b->y(); });
        const auto textOf = [](QQuickItem* row, const char* name) {
            return itemsNamed(row, QString::fromLatin1(name)).value(0)->property("text").toString();
        };
        QCOMPARE(textOf(rows[0], "rowSong"), QStringLiteral("New – Song"));
        QCOMPARE(textOf(rows[2], "rowSong"), QStringLiteral("Old – Song"));
        QCOMPARE(textOf(rows[2], "rowStation"), QStringLiteral("Station 9"));
        QCOMPARE(textOf(rows[0], "rowTime"),
                 QLocale().toString(today.toLocalTime().time(), QLocale::ShortFormat));
        screen.keepGrab(QStringLiteral("recently-played"));

        // The button copies its own row, and says so for a moment.
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        QQuickItem* copyButton = itemsNamed(rows[1], QStringLiteral("copyButton")).value(0);
        screen.click(copyButton);
        QCOMPARE(clipboard->text(), screen.recentlyPlayed.textAt(1));
        QVERIFY(clipboard->text().startsWith(QStringLiteral("Middle – Song — Station 1")));
        QVERIFY(rows[1]->property("copiedShown").toBool());
        QCOMPARE(copyButton->property("glyph").toString(), QStringLiteral("checkmark"));
        // A click on the row copies it too.
        QTest::mouseClick(screen.window, Qt::LeftButton, {}, screen.centreOf(rows[2]) - QPoint(60, 0));
        QCOMPARE(clipboard->text(), screen.recentlyPlayed.textAt(2));
        // The keyboard: Up to the first row, Ctrl+C.
        QTest::keyClick(screen.window, Qt::Key_Up);
        QTest::keyClick(screen.window, Qt::Key_Up);
        QTest::keyClick(screen.window, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), screen.recentlyPlayed.textAt(0));
        // Keys in the sheet stay there: Up did not change the volume.
        QCOMPARE(screen.player->volume(), 1.0f);

        // Clear, in one action.
        auto* clear = screen.item("clearButton");
        QVERIFY(clear->isEnabled());
        screen.click(clear);
        QCOMPARE(screen.recentlyPlayed.count(), 0);
        QTRY_VERIFY(screen.item("recentlyPlayedEmpty")->isVisible());
        QVERIFY(!clear->isEnabled());
        screen.keepGrab(QStringLiteral("recently-played-empty"));

        // Escape closes it; stopped, nothing heard: the line offers nothing.
        QTest::keyClick(screen.window, Qt::Key_Escape);
        QTRY_COMPARE(sheet->property("position").toReal(), 0.0);
        screen.player->stop();
        QCOMPARE(screen.item("songText")->property("text").toString(), QString());
        // Opened again with Ctrl+H: details only while a stream plays.
        QTest::keyClick(screen.window, Qt::Key_H, Qt::ControlModifier);
        QTRY_COMPARE(sheet->property("position").toReal(), 1.0);
        QCOMPARE(screen.item("streamDetails")->property("text").toString(), QString());
    }
};

QTEST_MAIN(ListeningScreenTests)
#include "ListeningScreenTests.moc"
