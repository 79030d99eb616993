#include "Mpris/MprisRoot.h"

MprisRoot::MprisRoot(QObject* exported)
    : QDBusAbstractAdaptor(exported)
{
    setAutoRelaySignals(false);
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
