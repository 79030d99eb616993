#include "Catalogue/LoadFailure.h"

#include <QFileInfo>

QString LoadFailure::reasonText() const
{
    switch (reason) {
    case Reason::invalidAddress:
        return tr("the address is not an http, https or file address");
    case Reason::fileMissing:
        return tr("the file does not exist");
    case Reason::fileUnreadable:
        return tr("the file cannot be read");
    case Reason::httpStatus:
        return tr("the server answered %1").arg(httpStatus);
    case Reason::notAnswering:
        return tr("the server is not answering");
    case Reason::secureConnection:
        return tr("the secure connection failed");
    case Reason::notAStationList:
        return localFile ? tr("the file is not a station list")
                         : tr("the answer is not a station list");
    case Reason::tooLarge:
        return localFile ? tr("the file is too large") : tr("the answer is too large");
    case Reason::truncated:
        return tr("the transfer stopped half way");
    }
    return {};
}

QString LoadFailure::message() const
{
    return tr("Could not load the stations from %1: %2").arg(source, reasonText());
}

QString LoadFailure::logLine() const
{
    return detail.isEmpty() ? message() : QStringLiteral("%1 (%2)").arg(message(), detail);
}

QString LoadFailure::sourceName(const QUrl& url)
{
    if (url.isLocalFile())
        return QFileInfo(url.toLocalFile()).fileName();
    if (!url.host().isEmpty())
        return url.host();
    return url.toDisplayString();
}
