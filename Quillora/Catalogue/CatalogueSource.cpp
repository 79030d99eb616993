#include "Catalogue/CatalogueSource.h"

#include "Catalogue/CsvStationsLoader.h"
#include "Catalogue/LocalStationsLoader.h"
#include "Support/Config.h"
#include "Diagnostics/Diagnostics.h"
#include "Network/WebAddress.h"
#include "Settings/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString catalogueKey = QStringLiteral("catalogue");

QString configurationFileOr(const QString& given)
{
    return given.isEmpty() ? Config::configurationFile() : given;
}

} // namespace

CatalogueSource CatalogueSource::myStations()
{
    return CatalogueSource(Kind::myStations, QUrl());
}

CatalogueSource CatalogueSource::address(QUrl url)
{
    return CatalogueSource(Kind::address, std::move(url));
}

QString CatalogueSource::localPath() const
{
    if (isMyStations())
        return Config::myStationsFile();
    return m_url.isLocalFile() ? m_url.toLocalFile() : QString();
}

QString CatalogueSource::storeKey() const
{
    return isMyStations() ? QStringLiteral("my-stations") : m_url.toString(QUrl::FullyEncoded);
}

QString CatalogueSource::displayName() const
{
    if (isMyStations())
        return tr("My stations");
    return LoadFailure::sourceName(m_url);
}

std::unique_ptr<StationsLoader> CatalogueSource::makeLoader() const
{
    if (isLocal())
        return std::make_unique<LocalStationsLoader>(localPath());
    return std::make_unique<CsvStationsLoader>(m_url.toString(QUrl::FullyEncoded));
}

CheckedAddress CatalogueSource::check(const QString& text, bool requireExistingFile,
                                                const QString& workingDirectory)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {std::nullopt, tr("Paste the address of a catalogue, or choose a CSV file.")};
    QUrl url;
    if (trimmed.startsWith(QLatin1String("~/"))) {
        url = QUrl::fromLocalFile(QDir::home().filePath(trimmed.mid(2)));
    } else if (trimmed.startsWith(QLatin1Char('/'))) {
        url = QUrl::fromLocalFile(trimmed);
    } else {
        // Pasted addresses may hold spaces and other characters a browser
        // would have encoded.
        url = QUrl(trimmed, QUrl::TolerantMode);
        if ((!url.isValid() || url.scheme().isEmpty()) && !workingDirectory.isEmpty()
            && !trimmed.contains(QLatin1String("://")))
            url = QUrl::fromLocalFile(QDir(workingDirectory).absoluteFilePath(trimmed));
    }
    if (!url.isValid() || url.scheme().isEmpty())
        return {std::nullopt, tr("This is not an address: it should begin with https://, http:// or file://.")};
    if (net::isWebAddress(url))
        return {address(url), {}};
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return {std::nullopt, tr("The address names no server.")};
    if (scheme != QLatin1String("file"))
        return {std::nullopt, tr("A catalogue address begins with https://, http:// or file://, not %1:.")
                                  .arg(url.scheme())};
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
        return {std::nullopt, tr("Only files on this computer can be opened.")};
    // "file://localhost/x" is this computer's /x.
    url.setHost(QString());
    const QString path = url.toLocalFile();
    if (path.isEmpty())
        return {std::nullopt, tr("The address names no file.")};
    const QUrl local = QUrl::fromLocalFile(path);
    if (requireExistingFile) {
        const QFileInfo info(path);
        if (!info.exists())
            return {std::nullopt, tr("There is no file at %1.").arg(path)};
        if (info.isDir())
            return {std::nullopt, tr("%1 is a folder, not a CSV file.").arg(path)};
        if (!info.isReadable())
            return {std::nullopt, tr("%1 cannot be read.").arg(path)};
    }
    return {address(local), {}};
}

CatalogueChoice CatalogueChoice::resolve(const QString& commandLineValue, const QString& environmentValue,
                                         const QString& configuredValue, const QString& configurationFile)
{
    const struct {
        QString value;
        Origin origin;
        QString name;
    } candidates[] = {
        {commandLineValue, Origin::commandLine, QStringLiteral("--catalogue")},
        {environmentValue, Origin::environment, QString::fromLatin1(Config::catalogueVariable())},
        {configuredValue, Origin::configuration, QStringLiteral("%1 in %2").arg(catalogueKey, configurationFile)},
    };
    for (const auto& candidate : candidates) {
        if (candidate.value.trimmed().isEmpty())
            continue;
        // A missing file is the loader's to report, with the error screen.
        const CheckedAddress checked = CatalogueSource::check(
            candidate.value, false, candidate.origin == Origin::commandLine ? QDir::currentPath() : QString());
        if (checked.source)
            return {*checked.source, candidate.origin};
        printLine(QCoreApplication::translate("CatalogueSource", "Ignoring the catalogue of %1: %2").arg(candidate.name, checked.error));
    }
    return {};
}

QString CatalogueChoice::remember(const CatalogueSource& source, const QString& configurationFile)
{
    const QString file = configurationFileOr(configurationFile);
    // Through the INI updater, not QSettings: the file is a person's, with
    // comments and keys of other parts that a rewrite would lose.
    QString error;
    IniFile settings = IniFile::load(file, &error);
    if (!error.isEmpty())
        return error;
    const QString value = source.isMyStations() ? QString() : source.url().toString(QUrl::FullyEncoded);
    if (settings.value(IniFile::general, catalogueKey).value_or(QString()) == value)
        return {}; // no rewrite of a file a person may have formatted by hand
    if (source.isMyStations())
        settings.remove(IniFile::general, catalogueKey);
    else
        settings.setValue(IniFile::general, catalogueKey, value);
    if (!settings.save(file).isEmpty())
        return QCoreApplication::translate("CatalogueSource", "Could not save the choice of catalogue in %1").arg(file);
    return {};
}
