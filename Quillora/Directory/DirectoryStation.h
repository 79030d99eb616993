// One station of the community directory, as Quillora keeps it after
// checking: a plain value, copied freely between threads and readable from
// QML.
//
// Everything the directory sends is untrusted. fromJson() keeps only http
// and https stream and logo addresses, cleans and caps every text, range-
// checks every number and treats a field of the wrong JSON type as missing.
// A station without a usable stream address is no station at all.
#pragma once

#include <QJsonValue>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

// The strings "Add to My stations" writes into the user's catalogue. The
// catalogue assigns the id.
struct DirectoryCatalogueRow {
    QString url;   // the stream to play (the directory's resolved address when usable)
    QString image; // the logo address; may be empty
    QString genre; // the first tag; may be empty
    QString title; // the station's name
    QString uuid;  // the directory's station identifier; may be empty
};

struct DirectoryStation {
    Q_GADGET
    Q_PROPERTY(QString stationUuid MEMBER stationUuid)
    Q_PROPERTY(QString name MEMBER name)
    Q_PROPERTY(QString url MEMBER url)
    Q_PROPERTY(QString urlResolved MEMBER urlResolved)
    Q_PROPERTY(QString streamUrl READ streamUrl)
    Q_PROPERTY(QString favicon MEMBER favicon)
    Q_PROPERTY(QStringList tags MEMBER tags)
    Q_PROPERTY(QString countryCode MEMBER countryCode)
    Q_PROPERTY(QString language MEMBER language)
    Q_PROPERTY(QString codec MEMBER codec)
    Q_PROPERTY(int bitrate MEMBER bitrate)
    Q_PROPERTY(bool hls MEMBER hls)
    Q_PROPERTY(bool lastCheckOk MEMBER lastCheckOk)
    Q_PROPERTY(int votes MEMBER votes)
    Q_PROPERTY(int clickCount MEMBER clickCount)

public:
    // Limits on what one station may carry.
    static constexpr qsizetype maxNameLength = 200;
    static constexpr qsizetype maxTagLength = 40;
    static constexpr qsizetype maxTags = 12;
    static constexpr qsizetype maxLanguageLength = 100;
    static constexpr qsizetype maxCodecLength = 32;
    static constexpr qsizetype maxAddressLength = 2048;
    static constexpr int maxBitrate = 100000; // kbit/s
    static constexpr int maxCount = 2147483647;

    QString stationUuid; // lower-case UUID text, or empty when the directory sent none usable
    QString name;        // never empty: falls back to the stream's host
    QString url;         // http(s) or empty
    QString urlResolved; // http(s) or empty
    QString favicon;     // http(s) or empty
    QStringList tags;    // cleaned, distinct, in the directory's order
    QString countryCode; // two upper-case letters or empty
    QString language;
    QString codec;
    int bitrate = 0;
    bool hls = false;
    bool lastCheckOk = false;
    int votes = 0;
    int clickCount = 0;

    // The address to play: the resolved one when usable, else the given one.
    QString streamUrl() const { return urlResolved.isEmpty() ? url : urlResolved; }

    DirectoryCatalogueRow catalogueRow() const;

    // The station in one element of a directory answer; none when it is not
    // an object or has no usable stream address.
    static std::optional<DirectoryStation> fromJson(const QJsonValue& value);
};

Q_DECLARE_METATYPE(DirectoryStation)

// The checks fromJson() applies, for the tags answer and the tests.
namespace DirectoryCleaning {

// Control characters, line and paragraph separators and runs of white space
// become one space; direction overrides and unpaired surrogates go; the
// result is trimmed and at most maxLength UTF-16 units long, never cut
// inside a surrogate pair. Reads no more of a long input than it needs.
QString text(QStringView raw, qsizetype maxLength);

// The address in normalised (fully percent-encoded) form when it is an
// absolute http or https address with a host, else empty.
QString webAddress(const QString& raw);

// Two ASCII letters, upper-cased; else empty.
QString countryCode(const QString& raw);

// A comma-separated tag list: cleaned, capped, without empty entries or
// repeats (ignoring case), at most DirectoryStation::maxTags.
QStringList tags(const QString& raw);

// The value when it is a JSON string, else empty.
QString string(const QJsonValue& value);

// The value when it is a finite JSON number within [min, max] (truncated to
// an integer), else fallback.
int integer(const QJsonValue& value, int min, int max, int fallback = 0);

// True for JSON true or the number 1 (the directory's flags are 0 or 1).
bool flag(const QJsonValue& value);

} // namespace DirectoryCleaning
