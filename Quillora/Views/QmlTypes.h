// Types of the application core that the views name in QML.
#pragma once

#include "Playback/Player.h"

#include <QtQml/qqmlregistration.h>

struct PlayerForeign {
    Q_GADGET
    QML_FOREIGN(Player)
    QML_NAMED_ELEMENT(Player)
    QML_UNCREATABLE("The application creates the one player.")
};
