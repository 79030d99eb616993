#include "App/AppDelegate.h"

#include "Diagnostics/Diagnostics.h"
#include "Playback/AudioSession.h"

#include <cstdlib>

AppDelegate::AppDelegate(QString storeDirectory)
    : m_storeDirectory(std::move(storeDirectory))
{
}

bool AppDelegate::didFinishLaunching()
{
    AudioSession::configureOrReport();
    return true;
}

PersistentContainer& AppDelegate::persistentContainer()
{
    if (!m_persistentContainer) {
        auto container = std::make_unique<PersistentContainer>(QStringLiteral("Quillora"), m_storeDirectory);
        container->loadPersistentStores([](const PersistentContainer::StoreError* error) {
            if (error)
                unresolvedError(error->description, error->userInfo);
        });
        m_persistentContainer = std::move(container);
    }
    return *m_persistentContainer;
}

void AppDelegate::saveContext()
{
    ManagedObjectContext& context = persistentContainer().viewContext();
    if (!context.hasChanges())
        return;
    const QString error = context.save();
    if (!error.isEmpty())
        unresolvedError(error, {});
}

void AppDelegate::unresolvedError(const QString& error, const QStringList& userInfo)
{
    printLine(QStringLiteral("Unresolved error %1, {%2}").arg(error, userInfo.join(QStringLiteral(", "))));
    // The data folder is unusable; nothing sensible can run on, but there is
    // no program fault to dump core for either.
    std::_Exit(EXIT_FAILURE);
}
