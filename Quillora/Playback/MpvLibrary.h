// libmpv, opened at run time rather than linked. The media player and the
// two hundred libraries it pulls in cost a window about as much start-up
// time as all of Qt Quick, and some 35 MB of memory; opened on the first
// play they cost a player that only browses nothing, and the first play
// some 80 ms, small beside connecting to a stream.
#pragma once

#include <mpv/client.h>

struct MpvLibrary {
    decltype(&::mpv_create) create;
    decltype(&::mpv_initialize) initialize;
    decltype(&::mpv_terminate_destroy) terminateDestroy;
    decltype(&::mpv_set_option_string) setOptionString;
    decltype(&::mpv_set_property) setProperty;
    decltype(&::mpv_get_property) getProperty;
    decltype(&::mpv_command) command;
    decltype(&::mpv_observe_property) observeProperty;
    decltype(&::mpv_request_log_messages) requestLogMessages;
    decltype(&::mpv_wait_event) waitEvent;
    decltype(&::mpv_set_wakeup_callback) setWakeupCallback;
    decltype(&::mpv_error_string) errorString;

    // The library, loaded on the first call from any thread; null (after
    // one printed line) when it cannot be loaded.
    static const MpvLibrary* get();
};
