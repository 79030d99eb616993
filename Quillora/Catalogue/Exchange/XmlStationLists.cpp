// XSPF (<playlist><trackList><track><location>, <title>, <image>) and
// Goodvibes' stations.xml (<Stations><Station><uri>, <name>).
//
// The XML reader expands internal entities; a document type that declares
// any is refused before its first use, which stops entity expansion bombs
// ("billion laughs") and external entities (a SYSTEM entity naming a local
// file or an address) alike. Neither format has any use for a DTD.
#include "Catalogue/Exchange/ExchangeFormats.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

// The children of the current element as name -> text (the first of each
// name); the reader ends on the element's end.
QHash<QString, QString> childTexts(QXmlStreamReader& xml)
{
    QHash<QString, QString> texts;
    while (xml.readNextStartElement()) {
        const QString name = xml.name().toString().toLower();
        const QString text = xml.readElementText(QXmlStreamReader::SkipChildElements);
        if (!texts.contains(name))
            texts.insert(name, text);
    }
    return texts;
}

} // namespace

void XmlStationLists::read(const QByteArray& bytes, StationExchange::Read& read)
{
    QXmlStreamReader xml(bytes);
    xml.setEntityExpansionLimit(0);
    QString root;
    while (!xml.atEnd() && read.ok()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::DTD) {
            if (!xml.entityDeclarations().isEmpty() || xml.text().contains(QLatin1String("<!ENTITY"))) {
                read.problem = StationExchange::tr("an XML file with entity declarations, which are refused");
                return;
            }
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        if (root.isEmpty()) {
            root = name;
            if (name == QLatin1String("playlist")) {
                read.format = StationExchange::Format::xspf;
            } else if (name.compare(QLatin1String("Stations"), Qt::CaseInsensitive) == 0) {
                read.format = StationExchange::Format::goodvibes;
            } else {
                read.problem = StationExchange::tr("not a playlist or station list: an XML file whose root is <%1>, "
                                                   "not an XSPF <playlist> or Goodvibes <Stations>")
                                   .arg(name.left(40));
                return;
            }
            continue;
        }
        if (read.format == StationExchange::Format::xspf && name == QLatin1String("track")) {
            const QHash<QString, QString> track = childTexts(xml);
            StationExchange::take(read, {track.value(QStringLiteral("title")), track.value(QStringLiteral("location")),
                                         track.value(QStringLiteral("image")), {}});
        } else if (read.format == StationExchange::Format::goodvibes
                   && name.compare(QLatin1String("Station"), Qt::CaseInsensitive) == 0) {
            const QHash<QString, QString> station = childTexts(xml);
            StationExchange::take(read, {station.value(QStringLiteral("name")), station.value(QStringLiteral("uri")),
                                         {}, {}});
        }
    }
    if (read.ok() && xml.hasError()) {
        read.problem = StationExchange::tr("not well-formed XML (line %1: %2)")
                           .arg(xml.lineNumber())
                           .arg(xml.errorString().left(120));
    }
}

QByteArray XmlStationLists::writeXspf(const QList<Station>& stations)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(QStringLiteral("http://xspf.org/ns/0/"));
    xml.writeStartElement(QStringLiteral("playlist"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    xml.writeStartElement(QStringLiteral("trackList"));
    for (const Station& station : stations) {
        xml.writeStartElement(QStringLiteral("track"));
        xml.writeTextElement(QStringLiteral("location"), station.url);
        xml.writeTextElement(QStringLiteral("title"), station.title);
        if (!station.image.isEmpty())
            xml.writeTextElement(QStringLiteral("image"), station.image);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}
