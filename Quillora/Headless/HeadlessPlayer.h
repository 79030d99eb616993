// The player without a window: catalogue, playback and media controls,
// running until SIGINT/SIGTERM or the media controls' Quit.
#pragma once

#include <QString>

namespace Headless {

// Runs the event loop of the existing QCoreApplication; returns its exit code.
int run(const QString& catalogueUrl);

} // namespace Headless
