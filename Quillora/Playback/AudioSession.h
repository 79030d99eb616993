// Audio set-up before the first stream: the sound server should see the
// application "Quillora" playing music. The application name is an mpv
// option (audio-client-name, set by MpvMediaPlayer); the stream role is a
// PulseAudio property (PipeWire's pulse server honours it too), read by
// libpulse from the environment when the stream is created.
#pragma once

#include <QString>

namespace AudioSession {

// Sets the stream properties; returns an error text, empty on success.
QString configure();

// configure(), printing a failure as one line; start-up goes on either way.
void configureOrReport();

} // namespace AudioSession
