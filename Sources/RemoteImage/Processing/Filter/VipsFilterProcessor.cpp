// GLib headers first: they use "signals" as a name, which Qt defines away.
#include <vips/vips.h>

#include "RemoteImage/Processing/Filter/VipsFilterProcessor.h"

#include "Diagnostics/Diagnostics.h"

#include <QColorSpace>

#include <array>
#include <cstring>
#include <mutex>
#include <string_view>
#include <utility>

namespace remoteimage {

namespace {

// Single image in ("in"), single image out ("out"), no files, no programs.
constexpr std::array<std::string_view, 9> allowedFilters = {
    "invert", "flip", "rot", "gaussblur", "sharpen", "colourspace", "canny", "sobel", "hist_equal",
};

bool isAllowed(const QString& name)
{
    const QByteArray utf8 = name.toUtf8();
    for (std::string_view allowed : allowedFilters) {
        if (std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())) == allowed)
            return true;
    }
    return false;
}

void initialiseVips()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (vips_init("RemoteImageFilters") != 0) {
            vips_error_clear();
            return;
        }
        // Nothing this library runs loads or saves files, but keep libvips'
        // reach small for whoever shares the process.
        vips_block_untrusted_set(TRUE);
        vips_operation_block_set("VipsForeignLoad", TRUE);
        for (const char* loader : {"VipsForeignLoadPng", "VipsForeignLoadJpeg",
                                   "VipsForeignLoadNsgif", "VipsForeignLoadWebp"})
            vips_operation_block_set(loader, FALSE);
    });
}

void printFailure(const char* prefix, const QString& name)
{
    printLine(QLatin1String(prefix) + QLatin1Char('\'') + name + QLatin1Char('\''));
}

// Unreferences a GObject at scope exit.
template <typename T>
struct GRef {
    T* object = nullptr;
    GRef() = default;
    explicit GRef(T* o) : object(o) {}
    GRef(const GRef&) = delete;
    GRef& operator=(const GRef&) = delete;
    ~GRef() { reset(); }
    void reset(T* o = nullptr)
    {
        if (object)
            g_object_unref(object);
        object = o;
    }
    T* get() const { return object; }
    T** out() { reset(); return &object; }
};

bool isPlainValueType(GType type)
{
    const GType fundamental = G_TYPE_FUNDAMENTAL(type);
    return fundamental == G_TYPE_INT || fundamental == G_TYPE_UINT || fundamental == G_TYPE_INT64
        || fundamental == G_TYPE_UINT64 || fundamental == G_TYPE_DOUBLE || fundamental == G_TYPE_FLOAT
        || fundamental == G_TYPE_BOOLEAN || fundamental == G_TYPE_ENUM || fundamental == G_TYPE_FLAGS;
}

bool setParameter(VipsOperation* operation, const QString& key, const QVariant& value)
{
    const QByteArray name = key.toUtf8();
    if (name == "in" || name == "out")
        return false;
    GParamSpec* pspec = nullptr;
    VipsArgumentClass* argumentClass = nullptr;
    VipsArgumentInstance* argumentInstance = nullptr;
    if (vips_object_get_argument(VIPS_OBJECT(operation), name.constData(), &pspec, &argumentClass,
                                 &argumentInstance)
        != 0) {
        vips_error_clear();
        return false;
    }
    if (!(argumentClass->flags & VIPS_ARGUMENT_INPUT) || !isPlainValueType(G_PARAM_SPEC_VALUE_TYPE(pspec)))
        return false;
    const QByteArray text = value.typeId() == QMetaType::Bool ? QByteArray(value.toBool() ? "true" : "false")
                                                              : value.toString().toUtf8();
    if (text.isEmpty()
        || vips_object_set_argument_from_string(VIPS_OBJECT(operation), name.constData(), text.constData())
            != 0) {
        vips_error_clear();
        return false;
    }
    return true;
}

// Brings any result to 8-bit RGBA of the given size, anchored at the origin.
// The input's alpha comes back when the result still covers the same pixels.
VipsImage* toRgba8(VipsImage* image, int width, int height, VipsImage* alpha)
{
    GRef<VipsImage> current(image);
    g_object_ref(image);
    GRef<VipsImage> next;
    if (vips_image_get_format(current.get()) != VIPS_FORMAT_UCHAR) {
        if (vips_cast_uchar(current.get(), next.out(), nullptr) != 0)
            return nullptr;
        std::swap(current.object, next.object);
    }
    const int bands = vips_image_get_bands(current.get());
    if (bands == 1 || bands == 2) {
        GRef<VipsImage> grey, alpha;
        if (vips_extract_band(current.get(), grey.out(), 0, nullptr) != 0)
            return nullptr;
        VipsImage* parts[4] = {grey.get(), grey.get(), grey.get(), nullptr};
        int count = 3;
        if (bands == 2) {
            if (vips_extract_band(current.get(), alpha.out(), 1, nullptr) != 0)
                return nullptr;
            parts[count++] = alpha.get();
        }
        if (vips_bandjoin(parts, next.out(), count, nullptr) != 0)
            return nullptr;
        std::swap(current.object, next.object);
    } else if (bands > 4) {
        if (vips_extract_band(current.get(), next.out(), 0, "n", 4, nullptr) != 0)
            return nullptr;
        std::swap(current.object, next.object);
    }
    const bool sameSize = vips_image_get_width(current.get()) == width
        && vips_image_get_height(current.get()) == height;
    if (vips_image_get_bands(current.get()) == 3) {
        const int failed = alpha && sameSize
            ? vips_bandjoin2(current.get(), alpha, next.out(), nullptr)
            : vips_bandjoin_const1(current.get(), next.out(), 255.0, nullptr);
        if (failed != 0)
            return nullptr;
        std::swap(current.object, next.object);
    }
    if (vips_image_get_width(current.get()) != width || vips_image_get_height(current.get()) != height) {
        if (vips_embed(current.get(), next.out(), 0, 0, width, height, nullptr) != 0)
            return nullptr;
        std::swap(current.object, next.object);
    }
    VipsImage* result = current.get();
    current.object = nullptr;
    return result;
}

} // namespace

VipsFilterProcessor::VipsFilterProcessor(QString name, QVariantMap parameters)
    : m_name(std::move(name))
    , m_parameters(std::move(parameters))
{
}

QStringList VipsFilterProcessor::supportedFilterNames()
{
    QStringList names;
    for (std::string_view name : allowedFilters)
        names.append(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    return names;
}

QImage VipsFilterProcessor::process(const QImage& image) const
{
    initialiseVips();
    if (!isAllowed(m_name) || image.isNull()) {
        printFailure("Can not create Core Image filter: ", m_name);
        return image;
    }

    GRef<VipsOperation> operation(vips_operation_new(m_name.toUtf8().constData()));
    bool created = operation.get() != nullptr;
    for (auto it = m_parameters.cbegin(); created && it != m_parameters.cend(); ++it)
        created = setParameter(operation.get(), it.key(), it.value());
    if (!created) {
        vips_error_clear();
        if (operation.get())
            vips_object_unref_outputs(VIPS_OBJECT(operation.get()));
        printFailure("Can not create Core Image filter: ", m_name);
        return image;
    }

    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    const int width = rgba.width();
    const int height = rgba.height();
    GRef<VipsImage> raw(vips_image_new_from_memory_copy(rgba.constBits(), static_cast<size_t>(rgba.sizeInBytes()),
                                                        width, height, 4, VIPS_FORMAT_UCHAR));
    // Filters see the colour bands only (an inverted alpha would make the
    // image vanish); the alpha band is put back afterwards.
    GRef<VipsImage> tagged, input, alpha;
    VipsImage* output = nullptr;
    bool built = raw.get()
        && vips_copy(raw.get(), tagged.out(), "interpretation", VIPS_INTERPRETATION_sRGB, nullptr) == 0
        && vips_extract_band(tagged.get(), input.out(), 0, "n", 3, nullptr) == 0
        && (!image.hasAlphaChannel() || vips_extract_band(tagged.get(), alpha.out(), 3, nullptr) == 0);
    if (built) {
        g_object_set(operation.get(), "in", input.get(), nullptr);
        built = vips_object_build(VIPS_OBJECT(operation.get())) == 0;
    }
    if (built)
        g_object_get(operation.get(), "out", &output, nullptr);
    vips_object_unref_outputs(VIPS_OBJECT(operation.get()));
    GRef<VipsImage> out(output);
    if (!out.get()) {
        vips_error_clear();
        printFailure("Failed to create output image with Core Image filter: ", m_name);
        return image;
    }

    GRef<VipsImage> final(toRgba8(out.get(), width, height, alpha.get()));
    size_t size = 0;
    void* pixels = final.get() ? vips_image_write_to_memory(final.get(), &size) : nullptr;
    if (!pixels || size != static_cast<size_t>(width) * static_cast<size_t>(height) * 4) {
        g_free(pixels);
        vips_error_clear();
        printFailure("Failed to render final image with Core Image filter: ", m_name);
        return image;
    }
    QImage result(width, height, QImage::Format_RGBA8888);
    result.setColorSpace(image.colorSpace());
    for (int y = 0; y < height; ++y)
        std::memcpy(result.scanLine(y), static_cast<const uchar*>(pixels) + static_cast<size_t>(y) * width * 4,
                    static_cast<size_t>(width) * 4);
    g_free(pixels);
    return result;
}

} // namespace remoteimage
