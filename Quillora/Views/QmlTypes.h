// Types of the application core that the views name in QML.
#pragma once

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
