#include "Catalogue/Station.h"

#include "CSV/CSV.h"

namespace {
const QString sampleLogo = QStringLiteral("https://radio.lux.fm/images/lux-logo.png");
}

// Function-local statics: built once, thread-safely, on first use.
const Station& Station::luxfm()
{
    static const Station station{0, QStringLiteral("https://streamvideo.luxnet.ua/lux/lux.stream/playlist.m3u8"),
                                 sampleLogo, QStringLiteral("Rocks"), QStringLiteral("Lux Lviv")};
    return station;
}

const Station& Station::rockFm()
{
    static const Station station{1, QStringLiteral("https://online.radioroks.ua/RadioROKS.m3u"), sampleLogo,
                                 QStringLiteral("Rock"), QStringLiteral("Radio Rocks")};
    return station;
}

Station Station::decode(csv::Decoder& decoder)
{
    auto c = decoder.container<CodingKeys>();
    // A station without a logo or a genre is still a station: those two may
    // be empty, or their columns absent. Braced initialisation decodes in
    // field order, so the first failure is the one reported.
    return Station{c.decode<std::int64_t>(CodingKeys::id), QString::fromStdString(c.decode<std::string>(CodingKeys::url)),
                   QString::fromStdString(c.decodeIfPresent<std::string>(CodingKeys::image).value_or(std::string())),
                   QString::fromStdString(c.decodeIfPresent<std::string>(CodingKeys::genre).value_or(std::string())),
                   QString::fromStdString(c.decode<std::string>(CodingKeys::title))};
}
