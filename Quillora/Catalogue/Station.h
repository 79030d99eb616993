// One internet-radio station of the catalogue: a plain value, copied freely
// between threads. Its identity is `id`; nothing enforces uniqueness.
#pragma once

#ifndef Q_MOC_RUN // moc cannot parse the concepts behind the coding keys
#include "CSV/CSV.h"
#endif

#include <QMetaType>
#include <QObject>
#include <QString>

#include <cstdint>

namespace csv {
class Decoder;
}

struct Station {
    Q_GADGET
    Q_PROPERTY(qint64 id MEMBER id)
    Q_PROPERTY(QString url MEMBER url)
    Q_PROPERTY(QString image MEMBER image)
    Q_PROPERTY(QString genre MEMBER genre)
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString uuid MEMBER uuid)

public:
    std::int64_t id = 0;
    QString url;   // stream or playlist address, turned into a URL only when played
    QString image; // logo address; empty: the card shows a placeholder
    QString genre; // empty: no genre line
    QString title;
    // The station's identifier in the community directory, from an optional
    // "uuid" column (stations added from the directory carry one): playing
    // it counts a click there. Not part of the station's decoding.
    QString uuid = {};

    // The two built-in sample stations (a live stream and an .m3u playlist).
    static const Station& luxfm();
    static const Station& rockFm();

    // Decodes the current CSV row by column name: "id" (a decimal integer),
    // "url" and "title" are required and non-empty; "image" and "genre" may
    // be empty or missing. Throws csv::DecodingError.
    static Station decode(csv::Decoder& decoder);

private:
#ifndef Q_MOC_RUN
    CSV_CODING_KEYS(CodingKeys, id, url, image, genre, title)
#endif
};

Q_DECLARE_METATYPE(Station)
