#include "Recording/AvLibrary.h"

#include <QCoreApplication>
#include <QString>
#include <dlfcn.h>
#include <iterator>
#include <mutex>
#include <string>
#include <type_traits>

namespace {

QString failure;

const AvLibrary* load()
{
    const std::string sonames[] = {
        "libavutil.so." + std::to_string(LIBAVUTIL_VERSION_MAJOR),
        "libavcodec.so." + std::to_string(LIBAVCODEC_VERSION_MAJOR),
        "libavformat.so." + std::to_string(LIBAVFORMAT_VERSION_MAJOR),
    };
    void* handles[std::size(sonames)] = {};
    for (std::size_t i = 0; i < std::size(sonames); ++i) {
        handles[i] = dlopen(sonames[i].c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handles[i]) {
            failure = QCoreApplication::translate("AvLibrary", "Cannot load %1: %2")
                          .arg(QString::fromStdString(sonames[i]), QString::fromLocal8Bit(dlerror()));
            return nullptr;
        }
    }
    // Each function from whichever of the three has it.
    bool complete = true;
    const auto resolve = [&](const char* name, auto& function) {
        for (void* handle : handles) {
            if (void* symbol = dlsym(handle, name)) {
                function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(symbol);
                return;
            }
        }
        failure = QCoreApplication::translate("AvLibrary", "Cannot use libavformat: %1 is missing")
                      .arg(QString::fromLatin1(name));
        complete = false;
    };
    static AvLibrary library;
#define QUILLORA_RESOLVE(name) resolve(#name, library.name)
    QUILLORA_RESOLVE(av_strerror);
    QUILLORA_RESOLVE(av_rescale_q);
    QUILLORA_RESOLVE(av_dict_set);
    QUILLORA_RESOLVE(av_dict_free);
    QUILLORA_RESOLVE(av_packet_alloc);
    QUILLORA_RESOLVE(av_packet_free);
    QUILLORA_RESOLVE(av_packet_unref);
    QUILLORA_RESOLVE(avcodec_get_name);
    QUILLORA_RESOLVE(avcodec_parameters_copy);
    QUILLORA_RESOLVE(avformat_open_input);
    QUILLORA_RESOLVE(avformat_find_stream_info);
    QUILLORA_RESOLVE(avformat_close_input);
    QUILLORA_RESOLVE(av_find_best_stream);
    QUILLORA_RESOLVE(av_read_frame);
    QUILLORA_RESOLVE(avformat_alloc_output_context2);
    QUILLORA_RESOLVE(avformat_free_context);
    QUILLORA_RESOLVE(avformat_new_stream);
    QUILLORA_RESOLVE(avformat_write_header);
    QUILLORA_RESOLVE(av_write_frame);
    QUILLORA_RESOLVE(av_write_trailer);
    QUILLORA_RESOLVE(avio_open);
    QUILLORA_RESOLVE(avio_closep);
#undef QUILLORA_RESOLVE
    // Never closed: the media player shares them.
    return complete ? &library : nullptr;
}

} // namespace

const AvLibrary* AvLibrary::get(QString* error)
{
    static std::once_flag once;
    static const AvLibrary* library = nullptr;
    std::call_once(once, [] { library = load(); });
    if (!library && error)
        *error = failure;
    return library;
}
