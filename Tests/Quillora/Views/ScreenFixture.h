// The main window as the application builds it, on a player whose catalogue
// and media player the test controls: stations delivered by hand, or a real
// catalogue (a local file, a local HTTP server, a stored copy). Runs on Qt's
// offscreen platform, whose software scene graph makes window grabs
// deterministic.
#pragma once

#include "Catalogue/ActiveCatalogue.h"
#include "Directory/DirectoryClient.h"
#include "Directory/DirectorySearchModel.h"
#include "Model/Player.h"
#include "Model/RecentlyPlayed.h"
#include "TestSupport.h"
#include "Views/IconProvider.h"

#include <QDir>
#include <QFile>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

// The items of this name in the visual tree below `root`. Items that a
// list view or a repeater creates are not always QObject children of it,
// so findChildren() may miss them.
inline QList<QQuickItem*> itemsNamed(QQuickItem* root, const QString& name)
{
    QList<QQuickItem*> found;
    if (!root)
        return found;
    for (QQuickItem* child : root->childItems()) {
        if (child->objectName() == name)
            found.append(child);
        found.append(itemsNamed(child, name));
    }
    return found;
}

// Colours that differ by at most `tolerance` in each channel.
inline bool near(QColor a, QColor b, int tolerance = 6)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

// A catalogue of stations without logos (nothing is asked of any server for
// their cards), then `extraRows` as they are.
inline QByteArray catalogueText(const QStringList& titles, const QByteArray& extraRows = {})
{
    QByteArray text = "id,url,image,genre,title\n";
    for (int i = 0; i < titles.size(); ++i)
        text += QStringLiteral("%1,http://127.0.0.1:9/s%1,,Genre,%2\n").arg(i + 1).arg(titles[i]).toUtf8();
    return text + extraRows;
}

inline QList<Station> stations(int count)
{
    QList<Station> list;
    for (int i = 0; i < count; ++i)
        list.append(testStation(i + 1));
    return list;
}

// QTest::keyClicks only takes widgets.
inline void type(QWindow* window, const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

class ScreenFixture {
public:
    // The player's stations come from the test's loader; the screen's
    // catalogue is a local file it may edit (as My stations).
    explicit ScreenFixture(QSize size = QSize(440, 800))
        : ScreenFixture(size, std::nullopt, nullptr)
    {
    }

    // The player's stations come from a real catalogue on `source`, wired as
    // the application wires it: Retry and a changed source reload the
    // player, and a stored copy in `store` (may be null) is on screen
    // before the first frame.
    ScreenFixture(QSize size, const CatalogueSource& source, StateStore* store = nullptr)
        : ScreenFixture(size, std::optional<CatalogueSource>(source), store)
    {
    }


    // Call first in every test: QVERIFY cannot run in a constructor.
    bool ready() { return window && QTest::qWaitForWindowExposed(window); }

    template <typename T = QQuickItem>
    T* item(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    // The item's centre in window coordinates.
    QPoint centreOf(const QQuickItem* item) const
    {
        return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
    }

    QImage grab() const { return window->grabWindow(); }
    // The window looks as it did when last asked: nothing moves any more.
    bool stillFrame()
    {
        const QImage frame = grab();
        return std::exchange(m_lastFrame, frame) == frame;
    }

    bool shows(const char* name) const
    {
        QQuickItem* found = item(name);
        return found && found->isVisible();
    }
    QString textOf(const char* name) const
    {
        QQuickItem* found = item(name);
        return found ? found->property("text").toString() : QString();
    }
    void click(const QQuickItem* target, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mouseClick(window, button, {}, centreOf(target));
    }
    void click(const char* name) const { click(item(name)); }

    // With QUILLORA_TEST_GRABS=<folder>, the window as it looks now, to look
    // at: <folder>/<test program>-<name>.png.
    void keepGrab(const QString& name, const QImage& image = {}) const
    {
        if (const QByteArray dir = qgetenv("QUILLORA_TEST_GRABS"); !dir.isEmpty())
            (image.isNull() ? grab() : image)
                .save(QStringLiteral("%1/%2-%3.png")
                          .arg(QString::fromLocal8Bit(dir), QCoreApplication::applicationName(), name));
    }

    std::shared_ptr<ManualLoader> loader;
    RecordingMediaPlayer* media; // owned by the player
    QTemporaryDir folder;

private:
    std::unique_ptr<ActiveCatalogue> m_catalogue;
    QImage m_lastFrame;

public:
    // The catalogue the screen shows the state of.
    ActiveCatalogue& catalogue;
    std::unique_ptr<Player> player;
    RecentlyPlayed recentlyPlayed{nullptr};
    DirectoryClient directoryClient;
    DirectorySearchModel directory{&directoryClient};
    QQmlApplicationEngine engine;
    QQuickWindow* window = nullptr;

private:
    ScreenFixture(QSize size, std::optional<CatalogueSource> source, StateStore* store)
        : loader(std::make_shared<ManualLoader>())
        , media(new RecordingMediaPlayer)
        , m_catalogue(std::make_unique<ActiveCatalogue>(
              source.value_or(CatalogueSource::address(
                  QUrl::fromLocalFile(folder.filePath(QStringLiteral("stations.csv"))))),
              store, nullptr))
        , catalogue(*m_catalogue)
        , player(std::make_unique<Player>(source ? static_cast<StationsLoader*>(m_catalogue.get()) : loader.get(),
                                          media))
    {
        if (source) {
            QObject::connect(m_catalogue.get(), &ActiveCatalogue::reloadRequested, player.get(),
                             &Player::loadStations);
            if (const QList<Station> stored = m_catalogue->restoreFromDisk(); !stored.isEmpty())
                player->applyCatalogue(stored);
        }
        engine.addImageProvider(QStringLiteral("icons"), new IconProvider);
        engine.setInitialProperties({{QStringLiteral("player"), QVariant::fromValue(player.get())},
                                     {QStringLiteral("catalogue"), QVariant::fromValue(&catalogue)},
                                     {QStringLiteral("recentlyPlayed"), QVariant::fromValue(&recentlyPlayed)},
                                     {QStringLiteral("directory"), QVariant::fromValue(&directory)}});
        engine.load(QUrl(QStringLiteral("qrc:/Quillora/Main.qml")));
        if (!engine.rootObjects().isEmpty())
            window = qobject_cast<QQuickWindow*>(engine.rootObjects().first());
        if (window) {
            window->resize(size);
            window->show();
        }
    }
};
