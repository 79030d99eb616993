// The store keeps a catalogue's stations as plain rows; these turn them into
// stations and back, for the catalogue that shows them and for export.
#pragma once

#include "Catalogue/Station.h"
#include "Store/StateStore.h"

#include <QList>

QList<Station> stationsOf(const QList<StoredStation>& rows);
QList<StoredStation> rowsOf(const QList<Station>& stations);
