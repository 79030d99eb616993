// The one rule for the addresses Quillora fetches or plays: a station's
// stream, a logo, a catalogue on the web, a station directory server. Each is
// an absolute http or https address that names a server; anything else
// (file:, qrc:, data:, a relative path, "http://" alone) could read local
// files, start helper programs or mean nothing at all.
//
// The scheme is compared without regard to case ("HTTPS://" is https), as
// QUrl stores it in lower case. A catalogue may also be a local file: that
// is the catalogue's own choice, made before it asks this rule.
#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace net {

// How text becomes an address. Strict: what a file or a form holds must
// already be a well-formed address. Tolerant: pasted text and what a
// directory sends may hold spaces and characters a browser would encode.
enum class Parsing { Strict, Tolerant };

bool isWebAddress(const QUrl& url);

// The text (trimmed) as a web address, or nothing.
std::optional<QUrl> webAddress(const QString& text, Parsing parsing = Parsing::Strict);

} // namespace net
