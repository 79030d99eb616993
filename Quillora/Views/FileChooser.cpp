#include "FileChooser.h"

#include "Diagnostics/Diagnostics.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QWindow>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString chooserInterface = QStringLiteral("org.freedesktop.portal.FileChooser");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// The portal's filter: a name and its rules, (sa(us)); a rule is a glob
// pattern (0) or a MIME type (1).
struct FilterRule {
    uint kind = 0;
    QString pattern;
};
struct Filter {
    QString name;
    QList<FilterRule> rules;
};

QDBusArgument& operator<<(QDBusArgument& argument, const FilterRule& rule)
{
    argument.beginStructure();
    argument << rule.kind << rule.pattern;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, FilterRule& rule)
{
    argument.beginStructure();
    argument >> rule.kind >> rule.pattern;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const Filter& filter)
{
    argument.beginStructure();
    argument << filter.name << filter.rules;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Filter& filter)
{
    argument.beginStructure();
    argument >> filter.name >> filter.rules;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(FilterRule)
Q_DECLARE_METATYPE(Filter)

namespace {

void registerTypes()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<FilterRule>();
        qDBusRegisterMetaType<QList<FilterRule>>();
        qDBusRegisterMetaType<Filter>();
        qDBusRegisterMetaType<QList<Filter>>();
        return true;
    }();
    Q_UNUSED(registered);
}

// Where the desktop should keep the dialog: above our window. Only X11
// windows can be named without a handshake (Wayland needs an exported
// handle, which Qt 6.4 does not offer).
QString parentWindowId(QWindow* window)
{
    if (window && QGuiApplication::platformName() == QLatin1String("xcb"))
        return QStringLiteral("x11:%1").arg(window->winId(), 0, 16);
    return {};
}

} // namespace

FileChooser::FileChooser(QObject* parent)
    : QObject(parent)
{
    registerTypes();
    checkPortal();
}

FileChooser::~FileChooser()
{
    stopListening();
}

QString FileChooser::requestPath(const QString& uniqueName, const QString& token)
{
    QString sender = uniqueName;
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

void FileChooser::checkPortal()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        m_checked = true;
        emit availableChanged();
        return;
    }
    // Its version property answers only where the portal has a file chooser.
    QDBusMessage get = QDBusMessage::createMethodCall(portalService, portalPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << chooserInterface << QStringLiteral("version");
    // A portal may be started by the bus on this call: give it time.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(get, 10000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *watcher;
        m_available = reply.isValid();
        m_checked = true;
        emit availableChanged();
    });
}

void FileChooser::openCsvFile(const QString& title, QWindow* parent)
{
    const Filter csv{QStringLiteral("CSV files"),
                     {{0, QStringLiteral("*.csv")}, {0, QStringLiteral("*.CSV")}, {1, QStringLiteral("text/csv")}}};
    QVariantMap options;
    options.insert(QStringLiteral("multiple"), false);
    options.insert(QStringLiteral("filters"), QVariant::fromValue(QList<Filter>{csv}));
    options.insert(QStringLiteral("current_filter"), QVariant::fromValue(csv));
    ask(QStringLiteral("OpenFile"), title, options, parent);
}

void FileChooser::openStationLists(const QString& title, QWindow* parent)
{
    // The format is read from the content: the filter only helps to find
    // the files, and "All files" is there for the rest.
    const Filter lists{tr("Playlists and station lists"),
                       {{0, QStringLiteral("*.m3u")}, {0, QStringLiteral("*.m3u8")}, {0, QStringLiteral("*.pls")},
                        {0, QStringLiteral("*.xspf")}, {0, QStringLiteral("*.xml")}, {0, QStringLiteral("*.json")},
                        {0, QStringLiteral("*.csv")}, {0, QStringLiteral("*.txt")}}};
    const Filter all{tr("All files"), {{0, QStringLiteral("*")}}};
    QVariantMap options;
    options.insert(QStringLiteral("multiple"), true);
    options.insert(QStringLiteral("filters"), QVariant::fromValue(QList<Filter>{lists, all}));
    options.insert(QStringLiteral("current_filter"), QVariant::fromValue(lists));
    ask(QStringLiteral("OpenFile"), title, options, parent);
}

void FileChooser::openFolder(const QString& title, QWindow* parent)
{
    QVariantMap options;
    options.insert(QStringLiteral("multiple"), false);
    options.insert(QStringLiteral("directory"), true);
    ask(QStringLiteral("OpenFile"), title, options, parent);
}

void FileChooser::saveStationList(const QString& title, const QString& name, QWindow* parent)
{
    QList<Filter> filters;
    for (const auto& [label, pattern] : {std::pair{QStringLiteral("M3U"), QStringLiteral("*.m3u")},
                                         std::pair{QStringLiteral("PLS"), QStringLiteral("*.pls")},
                                         std::pair{QStringLiteral("XSPF"), QStringLiteral("*.xspf")},
                                         std::pair{QStringLiteral("CSV"), QStringLiteral("*.csv")}})
        filters.append(Filter{tr("%1 playlist").arg(label), {{0, pattern}}});
    QVariantMap options;
    options.insert(QStringLiteral("current_name"), name);
    options.insert(QStringLiteral("filters"), QVariant::fromValue(filters));
    ask(QStringLiteral("SaveFile"), title, options, parent);
}

void FileChooser::ask(const QString& method, const QString& title, QVariantMap options, QWindow* parent)
{
    if (busy() || !m_available)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    // The answer comes as a signal on a request object whose path the
    // token fixes; listen there before asking, so a fast answer is not lost.
    const QString token = QStringLiteral("quillora%1").arg(++m_tokens);
    listenAt(requestPath(bus.baseService(), token));

    options.insert(QStringLiteral("handle_token"), token);
    options.insert(QStringLiteral("modal"), true);

    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, chooserInterface, method);
    call << parentWindowId(parent) << title << options;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 10000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
        if (!reply.isValid()) {
            printLine(QCoreApplication::translate("FileChooser", "The file dialog did not open: %1").arg(reply.error().message()));
            finish();
            emit failed(tr("The file dialog did not open."));
            return;
        }
        // Portals older than the handle token answer on a path of their own.
        const QString path = reply.value().path();
        if (busy() && path != m_requestPath)
            listenAt(path);
    });
}

void FileChooser::listenAt(const QString& path)
{
    const bool wasBusy = busy();
    stopListening();
    m_requestPath = path;
    // Only the portal's answer counts, not another program's on that path.
    QDBusConnection::sessionBus().connect(portalService, path, requestInterface, QStringLiteral("Response"), this,
                                          SLOT(onResponse(uint, QVariantMap)));
    if (!wasBusy)
        emit busyChanged();
}

void FileChooser::stopListening()
{
    if (m_requestPath.isEmpty())
        return;
    QDBusConnection::sessionBus().disconnect(portalService, m_requestPath, requestInterface, QStringLiteral("Response"),
                                             this, SLOT(onResponse(uint, QVariantMap)));
    m_requestPath.clear();
}

void FileChooser::finish()
{
    const bool wasBusy = busy();
    stopListening();
    if (wasBusy)
        emit busyChanged();
}

void FileChooser::onResponse(uint response, const QVariantMap& results)
{
    if (!busy())
        return;
    finish();
    // 0: chosen, 1: the person cancelled, 2: the dialog ended otherwise.
    if (response == 1) {
        emit cancelled();
        return;
    }
    const QStringList uris = results.value(QStringLiteral("uris")).toStringList();
    const QUrl url = uris.isEmpty() ? QUrl() : QUrl(uris.first());
    if (response != 0 || !url.isValid() || url.isEmpty()) {
        emit failed(tr("The file dialog closed without a file."));
        return;
    }
    QList<QUrl> urls;
    for (const QString& uri : uris) {
        if (const QUrl chosenUrl(uri); chosenUrl.isValid() && !chosenUrl.isEmpty())
            urls.append(chosenUrl);
    }
    emit chosenFiles(urls);
    emit chosen(url);
}
