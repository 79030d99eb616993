// The station list beside the player on a wide window, in the real window:
// it is there from about 700 points wide and gone below; the filter field
// narrows it by title and genre as one types (and typing in the list goes
// there); a click selects, a double click and Enter play.
#include "ScreenFixture.h"
#include "Views/StationFilter.h"

#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(QuilloraPlugin)
Q_IMPORT_QML_PLUGIN(RemoteImagePlugin)

namespace {

QList<Station> twelveStations()
{
    QList<Station> list;
    for (int id = 1; id <= 12; ++id)
        list.append(testStation(id));
    list[7].title = QStringLiteral("Harbour Jazz");
    list[10].genre = QStringLiteral("Smooth jazz");
    return list;
}

} // namespace

class StationListTests : public QObject {
    Q_OBJECT

private slots:
    void wordsMatchTitleOrGenre_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("kept");
        QTest::newRow("nothing typed") << QString() << true;
        QTest::newRow("title, any case") << QStringLiteral("harBOUR") << true;
        QTest::newRow("genre") << QStringLiteral("jazz") << true;
        QTest::newRow("a word in each") << QStringLiteral("harbour  bebop") << true;
        QTest::newRow("one word missing") << QStringLiteral("harbour rock") << false;
        QTest::newRow("neither") << QStringLiteral("polka") << false;
    }

    void wordsMatchTitleOrGenre()
    {
        QFETCH(QString, typed);
        QFETCH(bool, kept);
        QCOMPARE(StationFilter::matches(typed.split(QLatin1Char(' '), Qt::SkipEmptyParts), QStringLiteral("Harbour Jazz"),
                                        QStringLiteral("Bebop")),
                 kept);
    }

    void aWideWindowListsFiltersSelectsAndPlays()
    {
        ScreenFixture screen(QSize(1000, 800));
        QVERIFY(screen.ready());
        screen.loader->deliver(twelveStations());
        auto* list = screen.item("stationList");
        QVERIFY(list);
        QTRY_COMPARE(list->property("count").toInt(), 12);
        const auto rows = [&] { return itemsNamed(list, QStringLiteral("stationRow")); };
        const auto rowTitled = [&](const QString& title) -> QQuickItem* {
            for (QQuickItem* row : rows()) {
                if (row->property("title").toString() == title && row->isVisible())
                    return row;
            }
            return nullptr;
        };
        QTRY_VERIFY(rowTitled(QStringLiteral("Station 1")));
        QVERIFY(rowTitled(QStringLiteral("Station 1"))->property("selected").toBool());
        // The player sits to the right of the list.
        QVERIFY(screen.centreOf(screen.item("playButton")).x() > list->mapToScene({list->width(), 0}).x());

        // Typing while the list has the keyboard filters it.
        list->forceActiveFocus();
        for (const char c : {'j', 'a', 'z', 'z'})
            QTest::keyClick(screen.window, c);
        QCOMPARE(screen.item("stationFilterField")->property("text").toString(), QStringLiteral("jazz"));
        QTRY_COMPARE(list->property("count").toInt(), 2);
        QQuickItem* harbour = rowTitled(QStringLiteral("Harbour Jazz"));
        QVERIFY(harbour);

        QTest::mouseClick(screen.window, Qt::LeftButton, {}, screen.centreOf(harbour));
        QTRY_COMPARE(screen.player->selectedStationIndex(), 7);
        QVERIFY(!screen.player->isPlaying());
        QTRY_VERIFY(rowTitled(QStringLiteral("Harbour Jazz"))->property("selected").toBool());
        QTest::mouseDClick(screen.window, Qt::LeftButton, {}, screen.centreOf(harbour));
        QTRY_VERIFY(screen.player->isPlaying());
        QCOMPARE(screen.media->items.last(), QUrl(twelveStations()[7].url));
        QVERIFY(harbour->property("playing").toBool());

        // Down selects the next row shown, Enter plays it.
        screen.player->stop();
        QTest::keyClick(screen.window, Qt::Key_Down);
        QTRY_COMPARE(screen.player->selectedStationIndex(), 10);
        QTest::keyClick(screen.window, Qt::Key_Return);
        QTRY_VERIFY(screen.player->isPlaying());
        QCOMPARE(screen.media->items.last(), QUrl(twelveStations()[10].url));

        // Narrow, the player stands alone, as before.
        screen.window->resize(440, 800);
        QTRY_VERIFY(!screen.item("stationList"));
        QTRY_VERIFY(std::abs(screen.centreOf(screen.item("playButton")).x() - 220) <= 1);
    }
};

QTEST_MAIN(StationListTests)
#include "StationListTests.moc"
