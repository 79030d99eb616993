#include "Support/NetworkReachability.h"

#include <QNetworkInformation>

NetworkReachability::NetworkReachability(QObject* parent)
    : QObject(parent)
{
}

void NetworkReachability::watch()
{
    if (m_watching)
        return;
    m_watching = true;
    // Loading is process-wide; a missing backend is not an error.
    if (!QNetworkInformation::instance()
        && !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return;
    QNetworkInformation* information = QNetworkInformation::instance();
    // A backend may announce the state it starts in: only a change from
    // offline to online is news, or a first failure would retry at once.
    m_online = information->reachability() == QNetworkInformation::Reachability::Online;
    connect(information, &QNetworkInformation::reachabilityChanged, this,
            [this](QNetworkInformation::Reachability reachability) {
                const bool online = reachability == QNetworkInformation::Reachability::Online;
                const bool cameBack = online && !m_online;
                m_online = online;
                if (cameBack)
                    emit becameOnline();
            });
}
