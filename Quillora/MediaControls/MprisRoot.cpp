#include "MediaControls/MprisRoot.h"

#include "Support/AppInfo.h"

MprisRoot::MprisRoot(QObject* exported)
    : QDBusAbstractAdaptor(exported)
{
    setAutoRelaySignals(false);
}

QString MprisRoot::identity() const
{
    return AppInfo::displayName();
}

QString MprisRoot::desktopEntry() const
{
    return AppInfo::desktopFileId();
}

void MprisRoot::Raise()
{
    if (m_canRaise)
        emit raiseRequested();
}

void MprisRoot::Quit()
{
    emit quitRequested();
}
