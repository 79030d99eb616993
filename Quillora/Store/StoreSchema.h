// The tables of the application's store, and how an older store is brought
// up to date.
//
// The version is SQLite's user_version. Each step of the list in
// StoreSchema.cpp runs in its own transaction together with the bump of the
// version, so a store is always at one version or the next, never between.
// A new table (the recently played songs, say) is a new step at the end of
// that list; a step is never changed once released.
//
//   version 1  the empty store of the first releases
//   version 2  catalogue, catalogue_station: the last good remote catalogue
//              per address; selection: the selected station per source;
//              setting: named values (the volume)
//   version 3  catalogue_station.uuid; recently_played: the songs heard
//   version 4  recently_played.recording, .recording_saved: the kept song's
//              file
#pragma once

#include "Sqlite/Sqlite.h"

#include <QString>

namespace StoreSchema {

// The version this build reads and writes.
int currentVersion();

// Brings the store up to currentVersion(). A store written by a newer build
// is left as it is (its extra tables do not hurt) and one line says so.
// Returns the error text, empty on success.
QString migrate(sqlite::Connection& connection);

} // namespace StoreSchema
