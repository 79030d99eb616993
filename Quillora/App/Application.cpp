#include "App/Application.h"

#include "Diagnostics/Diagnostics.h"
#include "Playback/AudioSession.h"

#include <QCoreApplication>
#include <cstdlib>

Application::Application(QString storeDirectory)
    : m_storeDirectory(std::move(storeDirectory))
{
}

void Application::setUpAudio()
{
    AudioSession::configureOrReport();
}

Database& Application::database()
{
    if (!m_database) {
        auto container = std::make_unique<Database>(QStringLiteral("Quillora"), m_storeDirectory);
        container->load([](const Database::StoreError* error) {
            if (error)
                unresolvedError(error->description, error->userInfo);
        });
        m_database = std::move(container);
    }
    return *m_database;
}

void Application::saveChanges()
{
    WriteContext& context = database().writeContext();
    if (!context.hasChanges())
        return;
    const QString error = context.save();
    if (!error.isEmpty())
        unresolvedError(error, {});
}

void Application::unresolvedError(const QString& error, const QStringList& userInfo)
{
    printLine(QCoreApplication::translate("Application", "Unresolved error %1, {%2}").arg(error, userInfo.join(QStringLiteral(", "))));
    // The data folder is unusable; nothing sensible can run on, but there is
    // no program fault to dump core for either.
    std::_Exit(EXIT_FAILURE);
}
