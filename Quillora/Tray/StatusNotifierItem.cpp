#include "Tray/StatusNotifierItem.h"

#include "Diagnostics/Diagnostics.h"
#include "Model/Player.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QImageReader>
#include <QtEndian>

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString itemPath = QStringLiteral("/StatusNotifierItem");
const QString menuPath = QStringLiteral("/MenuBar");

enum MenuId { playId = 1, firstSeparatorId, secondSeparatorId, windowId, quitId, firstStationId = 100 };

} // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const SniPixmap& pixmap)
{
    argument.beginStructure();
    argument << pixmap.width << pixmap.height << pixmap.argb;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, SniPixmap& pixmap)
{
    argument.beginStructure();
    argument >> pixmap.width >> pixmap.height >> pixmap.argb;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const SniToolTip& tip)
{
    argument.beginStructure();
    argument << tip.iconName << tip.pixmaps << tip.title << tip.text;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, SniToolTip& tip)
{
    argument.beginStructure();
    argument >> tip.iconName >> tip.pixmaps >> tip.title >> tip.text;
    argument.endStructure();
    return argument;
}

namespace {

SniPixmap pixmapOf(const QString& file, int size)
{
    QImageReader reader(file);
    reader.setScaledSize(QSize(size, size));
    const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    SniPixmap pixmap{image.width(), image.height(), QByteArray(qsizetype(image.width()) * image.height() * 4, 0)};
    auto* out = reinterpret_cast<quint32*>(pixmap.argb.data());
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const quint32*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            *out++ = qToBigEndian(line[x]);
    }
    return pixmap;
}

} // namespace

StatusNotifierItem::StatusNotifierItem(QDBusConnection bus, Player* player, QString iconName, QString iconFile,
                                       QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_player(player)
    , m_iconName(std::move(iconName))
    , m_iconFile(std::move(iconFile))
    , m_serviceName(QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid()))
    , m_exported(new QObject(this))
    , m_menuObject(new QObject(this))
    , m_menu(new DBusMenu(this))
    , m_watcher(new QDBusServiceWatcher(watcherService, m_bus,
                                        QDBusServiceWatcher::WatchForRegistration
                                            | QDBusServiceWatcher::WatchForUnregistration,
                                        this))
{
    registerDBusMenuTypes();
    qDBusRegisterMetaType<SniPixmap>();
    qDBusRegisterMetaType<SniPixmaps>();
    qDBusRegisterMetaType<SniToolTip>();
    auto* adaptor = new StatusNotifierItemAdaptor(m_exported, this, player, m_iconName);
    new DBusMenuAdaptor(m_menuObject, m_menu);
    connect(this, &StatusNotifierItem::toolTipChanged, adaptor, &StatusNotifierItemAdaptor::NewToolTip);

    connect(m_player, &Player::stationsChanged, this, &StatusNotifierItem::updateMenu);
    connect(m_player, &Player::stationChanged, this, &StatusNotifierItem::updateMenu);
    connect(m_player, &Player::isPlayingChanged, this, &StatusNotifierItem::updateMenu);
    connect(m_player, &Player::stationChanged, this, &StatusNotifierItem::toolTipChanged);
    connect(m_player->session(), &PlaybackSession::songChanged, this, &StatusNotifierItem::toolTipChanged);
    connect(m_menu, &DBusMenu::clicked, this, [this](int id) {
        if (id == playId)
            m_player->togglePlayback();
        else if (id == windowId)
            emit activateRequested();
        else if (id == quitId)
            emit quitRequested();
        else if (id >= firstStationId && id < firstStationId + stationsShown) {
            m_player->setSelectedStationIndex(id - firstStationId);
            if (!m_player->isPlaying())
                m_player->togglePlayback();
        }
    });
    updateMenu();

    if (!m_bus.isConnected())
        return;
    m_bus.registerObject(itemPath, m_exported, QDBusConnection::ExportAdaptors);
    m_bus.registerObject(menuPath, m_menuObject, QDBusConnection::ExportAdaptors);
    m_bus.registerService(m_serviceName);
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this, &StatusNotifierItem::registerWithWatcher);
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        m_registered = false;
        emit registeredChanged();
    });
    if (m_bus.interface()->isServiceRegistered(watcherService))
        registerWithWatcher();
}

StatusNotifierItem::~StatusNotifierItem()
{
    if (!m_bus.isConnected())
        return;
    m_bus.unregisterObject(itemPath);
    m_bus.unregisterObject(menuPath);
    m_bus.unregisterService(m_serviceName);
}

void StatusNotifierItem::registerWithWatcher()
{
    QDBusMessage call = QDBusMessage::createMethodCall(watcherService, QStringLiteral("/StatusNotifierWatcher"),
                                                       watcherService, QStringLiteral("RegisterStatusNotifierItem"));
    call << m_serviceName;
    auto* pending = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* reply) {
        reply->deleteLater();
        const bool registered = !reply->isError();
        if (!registered)
            printLine(QCoreApplication::translate("StatusNotifierItem", "The panel refused the tray icon: %1").arg(reply->error().message()));
        if (registered != m_registered) {
            m_registered = registered;
            emit registeredChanged();
        }
    });
}

void StatusNotifierItem::setWindowShown(bool shown)
{
    if (shown == m_windowShown)
        return;
    m_windowShown = shown;
    updateMenu();
}

QString StatusNotifierItem::toolTipTitle() const
{
    const std::optional<Station> station = m_player->station();
    return station ? station->title : QCoreApplication::applicationName();
}

QString StatusNotifierItem::toolTipText() const
{
    return m_player->session()->songText();
}

SniPixmaps StatusNotifierItem::iconPixmaps() const
{
    if (m_pixmaps.isEmpty() && !m_iconFile.isEmpty()) {
        for (const int size : {22, 32, 64}) {
            SniPixmap pixmap = pixmapOf(m_iconFile, size);
            if (pixmap.width > 0)
                m_pixmaps.append(std::move(pixmap));
        }
    }
    return m_pixmaps;
}

void StatusNotifierItem::updateMenu()
{
    QList<DBusMenu::Entry> entries;
    const bool hasStations = !m_player->stations().isEmpty();
    entries.append({playId, m_player->isPlaying() ? tr("Stop") : tr("Play"), hasStations});
    entries.append(DBusMenu::Entry{firstSeparatorId, {}});
    const qint64 shown = std::min<qint64>(m_player->stations().size(), stationsShown);
    for (qint64 i = 0; i < shown; ++i) {
        const bool selected = !m_player->isGuest() && i == m_player->selectedStationIndex();
        // A label's underscore marks a mnemonic in the menu protocol.
        QString label = m_player->stations().at(i).title;
        label.replace(QLatin1Char('_'), QLatin1String("__"));
        entries.append({int(firstStationId + i), label, true,
                        selected ? DBusMenu::Entry::Mark::radioOn : DBusMenu::Entry::Mark::radioOff});
    }
    if (shown > 0)
        entries.append(DBusMenu::Entry{secondSeparatorId, {}});
    entries.append({windowId, m_windowShown ? tr("Hide window") : tr("Show window")});
    entries.append({quitId, tr("Quit")});
    m_menu->setEntries(entries);
}

StatusNotifierItemAdaptor::StatusNotifierItemAdaptor(QObject* exported, StatusNotifierItem* item, Player* player,
                                                     QString iconName)
    : QDBusAbstractAdaptor(exported)
    , m_item(item)
    , m_player(player)
    , m_iconName(std::move(iconName))
{
    setAutoRelaySignals(false);
}

QString StatusNotifierItemAdaptor::id() const
{
    return QCoreApplication::applicationName();
}

QString StatusNotifierItemAdaptor::title() const
{
    return QGuiApplication::applicationDisplayName();
}

SniToolTip StatusNotifierItemAdaptor::toolTip() const
{
    return SniToolTip{m_iconName, {}, m_item->toolTipTitle(), m_item->toolTipText().toHtmlEscaped()};
}

void StatusNotifierItemAdaptor::Activate(int x, int y)
{
    Q_UNUSED(x);
    Q_UNUSED(y);
    emit m_item->activateRequested();
}

void StatusNotifierItemAdaptor::SecondaryActivate(int x, int y)
{
    Q_UNUSED(x);
    Q_UNUSED(y);
    if (!m_player->stations().isEmpty())
        m_player->togglePlayback();
}

void StatusNotifierItemAdaptor::ContextMenu(int x, int y)
{
    // Hosts draw the menu from /MenuBar themselves.
    Q_UNUSED(x);
    Q_UNUSED(y);
}

void StatusNotifierItemAdaptor::Scroll(int delta, const QString& orientation)
{
    if (orientation.compare(QLatin1String("vertical"), Qt::CaseInsensitive) != 0)
        return;
    // One notch of a wheel is 120; a notch moves the volume by 5 %.
    const float step = float(delta) / 120.0f * 0.05f;
    m_player->setVolume(std::clamp(m_player->volume() + step, 0.0f, 1.0f));
}
