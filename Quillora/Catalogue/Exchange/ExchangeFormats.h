// The readers and writers behind StationExchange, one per format. A reader
// adds what it finds to the Read through StationExchange::take() and stops
// as soon as the Read has a problem (too many entries).
#pragma once

#include "Catalogue/Exchange/StationExchange.h"

#include <QStringView>

namespace M3uPlaylist {
void read(QStringView text, StationExchange::Read& read);
QByteArray write(const QList<Station>& stations);
}

namespace PlsPlaylist {
void read(QStringView text, StationExchange::Read& read);
QByteArray write(const QList<Station>& stations);
}

// XSPF playlists and Goodvibes' stations.xml share the guarded XML reading.
namespace XmlStationLists {
// Reads either format, recognised by the root element; sets read.format.
void read(const QByteArray& bytes, StationExchange::Read& read);
QByteArray writeXspf(const QList<Station>& stations);
}

namespace RadiotrayBookmarks {
void read(const QByteArray& bytes, StationExchange::Read& read);
}

namespace CsvStationLists {
// Any CSV with a URL column, or pyradio's header-less name,url,... rows;
// sets read.format, or read.problem when it is neither.
void read(const QByteArray& bytes, StationExchange::Read& read);
// Quillora's own columns: id,url,image,genre,title.
QByteArray write(const QList<Station>& stations);
}
