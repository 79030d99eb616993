#include "FileChooser.h"

#include "Diagnostics/Diagnostics.h"

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
    if (busy() || !m_available)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    // The answer comes as a signal on a request object whose path the
    // token fixes; listen there before asking, so a fast answer is not lost.
    const QString token = QStringLiteral("quillora%1").arg(++m_tokens);
    listenAt(requestPath(bus.baseService(), token));

    const Filter csv{QStringLiteral("CSV files"),
                     {{0, QStringLiteral("*.csv")}, {0, QStringLiteral("*.CSV")}, {1, QStringLiteral("text/csv")}}};
    QVariantMap options;
    options.insert(QStringLiteral("handle_token"), token);
    options.insert(QStringLiteral("modal"), true);
    options.insert(QStringLiteral("multiple"), false);
    options.insert(QStringLiteral("filters"), QVariant::fromValue(QList<Filter>{csv}));
    options.insert(QStringLiteral("current_filter"), QVariant::fromValue(csv));

    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, chooserInterface,
                                                       QStringLiteral("OpenFile"));
    call << parentWindowId(parent) << title << options;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 10000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
        if (!reply.isValid()) {
            printLine(QStringLiteral("The file dialog did not open: %1").arg(reply.error().message()));
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
    emit chosen(url);
}
