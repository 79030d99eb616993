#include "Support/NetworkReachability.h"

#include <QNetworkInformation>

NetworkReachability::NetworkReachability(QObject* parent)
    : QObject(parent)
{
    // Loading is process-wide and cheap after the first time; a missing
    // backend is not an error.
    if (!QNetworkInformation::instance()
        && !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return;
    QNetworkInformation* information = QNetworkInformation::instance();
    connect(information, &QNetworkInformation::reachabilityChanged, this,
            [this](QNetworkInformation::Reachability reachability) {
                if (reachability == QNetworkInformation::Reachability::Online)
                    emit becameOnline();
            });
}

bool NetworkReachability::isOnline() const
{
    const QNetworkInformation* information = QNetworkInformation::instance();
    if (!information)
        return true;
    const auto reachability = information->reachability();
    return reachability == QNetworkInformation::Reachability::Online
        || reachability == QNetworkInformation::Reachability::Unknown;
}
