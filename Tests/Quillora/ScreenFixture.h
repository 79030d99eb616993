// The main window as the application builds it, on a player whose catalogue
// and media player the test controls. Runs on Qt's offscreen platform, whose
// software scene graph makes window grabs deterministic.
#pragma once

#include "Catalogue/ActiveCatalogue.h"
#include "Directory/DirectoryClient.h"
#include "Directory/DirectorySearchModel.h"
#include "Model/Player.h"
#include "Model/RecentlyPlayed.h"
#include "TestSupport.h"
#include "Views/IconProvider.h"

#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

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

class ScreenFixture {
public:
    explicit ScreenFixture(QSize size = QSize(440, 800))
        : loader(std::make_shared<ManualLoader>())
        , media(new RecordingMediaPlayer)
        , player(Player::create(loader, media))
    {
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

    // A load never delivered holds the player: let it go with the fixture.
    ~ScreenFixture() { loader->pending.reset(); }

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

    std::shared_ptr<ManualLoader> loader;
    RecordingMediaPlayer* media; // owned by the player
    std::shared_ptr<Player> player;
    // The screen's view of the catalogue in use, a local file the screen may
    // edit (as My stations); the player's stations come from the test's
    // loader.
    QTemporaryDir folder;
    ActiveCatalogue catalogue{CatalogueSource::address(QUrl::fromLocalFile(folder.filePath(QStringLiteral("stations.csv")))),
                              nullptr, nullptr};
    RecentlyPlayed recentlyPlayed{nullptr};
    DirectoryClient directoryClient;
    DirectorySearchModel directory{&directoryClient};
    QQmlApplicationEngine engine;
    QQuickWindow* window = nullptr;
};
