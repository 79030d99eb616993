// ThreadSanitizer defaults for the remote-image test programs. Include from
// exactly one file per program.
//
// Qt Network, GLib, GObject, gdk-pixbuf and libvips are not instrumented: their own
// locking is invisible, so their internals look racy. The tests start the
// local HTTP server (fork + exec) after threads exist, which TSan otherwise
// refuses.
#pragma once

#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_options()
{
    return "die_after_fork=0";
}

extern "C" const char* __tsan_default_suppressions()
{
    return "race:libQt6Network.so\n"
           "race:libglib-2.0.so\n"
           "race:libgobject-2.0.so\n"
           "race:libgdk_pixbuf-2.0.so\n"
           "race:libvips.so\n";
}
#endif
