#include "Playback/MpvLibrary.h"

#include "Diagnostics/Diagnostics.h"

#include <QCoreApplication>
#include <dlfcn.h>
#include <mutex>
#include <string>

namespace {

template <typename Function>
bool resolve(void* handle, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

const MpvLibrary* load()
{
    // The shared object of the API version we were built against.
    const std::string soname = "libmpv.so." + std::to_string(MPV_CLIENT_API_VERSION >> 16);
    void* handle = dlopen(soname.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        printLine(QCoreApplication::translate("MpvLibrary", "Cannot load the media player (%1): %2").arg(QString::fromStdString(soname), QString::fromLocal8Bit(dlerror())));
        return nullptr;
    }
    static MpvLibrary library;
    const bool complete = resolve(handle, "mpv_create", library.create)
        && resolve(handle, "mpv_initialize", library.initialize)
        && resolve(handle, "mpv_terminate_destroy", library.terminateDestroy)
        && resolve(handle, "mpv_set_option_string", library.setOptionString)
        && resolve(handle, "mpv_set_property", library.setProperty)
        && resolve(handle, "mpv_get_property", library.getProperty)
        && resolve(handle, "mpv_command", library.command)
        && resolve(handle, "mpv_observe_property", library.observeProperty)
        && resolve(handle, "mpv_request_log_messages", library.requestLogMessages)
        && resolve(handle, "mpv_wait_event", library.waitEvent)
        && resolve(handle, "mpv_set_wakeup_callback", library.setWakeupCallback)
        && resolve(handle, "mpv_error_string", library.errorString);
    if (!complete) {
        printLine(QCoreApplication::translate("MpvLibrary", "Cannot use the media player (%1): a function is missing").arg(QString::fromStdString(soname)));
        return nullptr;
    }
    // Never closed: mpv's threads and handles may outlive any owner.
    return &library;
}

} // namespace

const MpvLibrary* MpvLibrary::get()
{
    static std::once_flag once;
    static const MpvLibrary* library = nullptr;
    std::call_once(once, [] { library = load(); });
    return library;
}
