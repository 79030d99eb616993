// How Quillora talks to servers: who it says it is, and the bounds of the
// GETs of the catalogue loader and the directory client. The logos' GETs
// take the same name through the image library's NetworkConfiguration,
// handed over by the composition root.
#pragma once

#include "Network/BoundedGet.h"

#include <QByteArray>

namespace NetworkPolicy {

// "Quillora/<version>", on every request Quillora makes.
QByteArray userAgent();

// A GET of up to maxBytes that must be whole within deadlineMs and may go
// silent for at most transferTimeoutMs (0: no such limit).
net::Policy get(qint64 maxBytes, int transferTimeoutMs, int deadlineMs);

} // namespace NetworkPolicy
