// gdk-pixbuf's headers after Qt's: GLib uses `signals` as a field name,
// which Qt defines as a keyword macro. Include this instead of
// <gdk-pixbuf/gdk-pixbuf.h>.
#pragma once

#pragma push_macro("signals")
#undef signals
#include <gdk-pixbuf/gdk-pixbuf.h>
#pragma pop_macro("signals")
