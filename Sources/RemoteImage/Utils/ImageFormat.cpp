#include "RemoteImage/Utils/ImageFormat.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr ImageFormat png{"public.png", "png", "png"};
constexpr ImageFormat jpeg{"public.jpeg", "jpeg", "jpg"};
constexpr ImageFormat gif{"com.compuserve.gif", "gif", "gif"};
constexpr ImageFormat webp{"org.webmproject.webp", "webp", "webp"};

struct Signature {
    const ImageFormat* format;
    const char* bytes;
    int length;
    int offset; // where bytes start; WebP has a length field before its tag
};

// "RIFF" + 4 length bytes + "WEBP": the length bytes match anything.
constexpr std::array<Signature, 6> signatures{{
    {&png, "\x89PNG\r\n\x1a\n", 8, 0},
    {&jpeg, "\xff\xd8\xff", 3, 0},
    {&gif, "GIF87a", 6, 0},
    {&gif, "GIF89a", 6, 0},
    {&webp, "RIFF", 4, 0},
    {&webp, "WEBP", 4, 8},
}};

// Compares what is there of [offset, offset + length); true when it matches.
bool matchesSoFar(const QByteArray& data, const Signature& signature)
{
    const qsizetype end = std::min<qsizetype>(data.size(), signature.offset + signature.length);
    for (qsizetype i = signature.offset; i < end; ++i) {
        if (data[i] != signature.bytes[i - signature.offset])
            return false;
    }
    return true;
}

bool complete(const QByteArray& data, const Signature& signature)
{
    return data.size() >= signature.offset + signature.length;
}

} // namespace

Sniffed sniffImageFormat(const QByteArray& data)
{
    bool waiting = false;
    for (size_t i = 0; i < signatures.size(); ++i) {
        const Signature& signature = signatures[i];
        if (signature.format == &webp) {
            const Signature& tag = signatures[i + 1];
            if (matchesSoFar(data, signature) && matchesSoFar(data, tag)) {
                if (complete(data, tag))
                    return {SniffResult::Recognised, &webp};
                waiting = true;
            }
            break;
        }
        if (matchesSoFar(data, signature)) {
            if (complete(data, signature))
                return {SniffResult::Recognised, signature.format};
            waiting = true;
        }
    }
    return {waiting ? SniffResult::NeedMoreBytes : SniffResult::NotAnImage, nullptr};
}

const ImageFormat* imageFormatForTypeIdentifier(const QString& typeIdentifier)
{
    for (const ImageFormat* format : {&png, &jpeg, &gif, &webp}) {
        if (typeIdentifier == QLatin1String(format->typeIdentifier))
            return format;
    }
    return nullptr;
}
