// Types of the application core that the views name in QML.
#pragma once

#include "Catalogue/ActiveCatalogue.h"
#include "Directory/DirectorySearchModel.h"
#include "Directory/DirectoryStation.h"
#include "Model/Player.h"
#include "Model/RecentlyPlayed.h"
#include "Model/SleepTimer.h"
#include "Settings/Preferences.h"
#include "Model/StationListModel.h"
#include "Playback/PlaybackSession.h"
#include "Recording/Recorder.h"

#include <QtQml/qqmlregistration.h>

struct PlayerForeign {
    Q_GADGET
    QML_FOREIGN(Player)
    QML_NAMED_ELEMENT(Player)
    QML_UNCREATABLE("The application creates the one player.")
};

struct StationListModelForeign {
    Q_GADGET
    QML_FOREIGN(StationListModel)
    QML_NAMED_ELEMENT(StationListModel)
    QML_UNCREATABLE("The player owns the one station list.")
};

struct DirectorySearchModelForeign {
    Q_GADGET
    QML_FOREIGN(DirectorySearchModel)
    QML_NAMED_ELEMENT(DirectorySearchModel)
    QML_UNCREATABLE("The application creates the one directory search.")
};

struct DirectoryStationForeign {
    Q_GADGET
    QML_FOREIGN(DirectoryStation)
    QML_VALUE_TYPE(directoryStation)
};

struct PlaybackSessionForeign {
    Q_GADGET
    QML_FOREIGN(PlaybackSession)
    QML_NAMED_ELEMENT(PlaybackSession)
    QML_UNCREATABLE("The player owns its playback session.")
};

struct ActiveCatalogueForeign {
    Q_GADGET
    QML_FOREIGN(ActiveCatalogue)
    QML_NAMED_ELEMENT(ActiveCatalogue)
    QML_UNCREATABLE("The application creates the one catalogue in use.")
};

struct RecentlyPlayedForeign {
    Q_GADGET
    QML_FOREIGN(RecentlyPlayed)
    QML_NAMED_ELEMENT(RecentlyPlayed)
    QML_UNCREATABLE("The application keeps the one list of recently played songs.")
};

struct PreferencesForeign {
    Q_GADGET
    QML_FOREIGN(Preferences)
    QML_NAMED_ELEMENT(Preferences)
    QML_UNCREATABLE("The application reads the one set of settings.")
};

struct SleepTimerForeign {
    Q_GADGET
    QML_FOREIGN(SleepTimer)
    QML_NAMED_ELEMENT(SleepTimer)
    QML_UNCREATABLE("The application creates the one sleep timer.")
};

struct RecorderForeign {
    Q_GADGET
    QML_FOREIGN(Recorder)
    QML_NAMED_ELEMENT(Recorder)
    QML_UNCREATABLE("The application creates the one recorder.")
};
