// Types of the application core that the views name in QML.
#pragma once

#include "Directory/DirectorySearchModel.h"
#include "Directory/DirectoryStation.h"
#include "Model/Player.h"
#include "Model/StationListModel.h"

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
