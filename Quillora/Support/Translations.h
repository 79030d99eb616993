// The language the application speaks: the first of the desktop's languages
// (LANGUAGE, else LC_ALL, LC_MESSAGES or LANG) that Quillora is translated
// into. The sources are English, so English listed before any translated
// language keeps the application English.
#pragma once

#include <QString>
#include <QStringList>

namespace Translations {

// Installs the translators on the running application: the English plural
// forms always, then the chosen language's messages and Qt's own. Makes the
// chosen language the default locale, so dates read in the same language.
// Returns the chosen language ("de"), or an empty string for English.
QString install();

// The entry of `available` (language names such as "de" or "pt_BR") to use
// for the desktop's `uiLanguages` (BCP 47 names such as "de-AT", in order
// of preference); empty for English or when none is available.
QString choose(const QStringList& uiLanguages, const QStringList& available);

} // namespace Translations
