#include "Recording/SongCutter.h"

#include <QCoreApplication>
#include <QFile>
#include <QScopeGuard>

#include "Recording/AvLibrary.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// Only called once get() has succeeded (the entry points check).
const AvLibrary& av()
{
    return *AvLibrary::get();
}

struct Container {
    AVCodecID codec;
    const char* muxer;
    const char* extension;
};

constexpr Container containers[] = {
    {AV_CODEC_ID_MP3, "mp3", ".mp3"},
    {AV_CODEC_ID_AAC, "adts", ".aac"},
    {AV_CODEC_ID_VORBIS, "ogg", ".ogg"},
    {AV_CODEC_ID_FLAC, "ogg", ".ogg"},
    {AV_CODEC_ID_OPUS, "opus", ".opus"},
};

const Container* containerFor(AVCodecID codec)
{
    for (const Container& c : containers)
        if (c.codec == codec)
            return &c;
    return nullptr;
}

QString avError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av().av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

struct InputCloser {
    void operator()(AVFormatContext* context) const { av().avformat_close_input(&context); }
};
using Input = std::unique_ptr<AVFormatContext, InputCloser>;

struct PacketFree {
    void operator()(AVPacket* packet) const { av().av_packet_free(&packet); }
};
using Packet = std::unique_ptr<AVPacket, PacketFree>;

// The piece open, with its one audio stream.
Input openPiece(const QString& path, int* stream, QString* error)
{
    AVFormatContext* raw = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (const int rc = av().avformat_open_input(&raw, name.constData(), nullptr, nullptr); rc < 0) {
        *error = QCoreApplication::translate("SongCutter", "Cannot read the recording: %1").arg(avError(rc));
        return {};
    }
    Input input(raw);
    if (const int rc = av().avformat_find_stream_info(raw, nullptr); rc < 0) {
        *error = QCoreApplication::translate("SongCutter", "Cannot read the recording: %1").arg(avError(rc));
        return {};
    }
    *stream = av().av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (*stream < 0) {
        *error = QCoreApplication::translate("SongCutter", "The recording holds no audio");
        return {};
    }
    return input;
}

// One frame's length in the stream's time base, for the last packet of a
// piece (whose length Matroska does not always store).
int64_t frameLength(const AVStream* stream)
{
    const AVCodecParameters* p = stream->codecpar;
    if (p->frame_size > 0 && p->sample_rate > 0)
        return av().av_rescale_q(p->frame_size, AVRational{1, p->sample_rate}, stream->time_base);
    return 0;
}

struct PieceSpan {
    double first = 0; // seconds of the first packet
    double length = 0;
};

bool measure(const QString& path, PieceSpan* span, QString* error)
{
    // The media player makes a piece's file only once a packet arrives.
    if (!QFile::exists(path))
        return true;
    int index = -1;
    Input input = openPiece(path, &index, error);
    if (!input)
        return false;
    const AVStream* stream = input->streams[index];
    Packet packet(av().av_packet_alloc());
    int64_t first = AV_NOPTS_VALUE;
    int64_t end = AV_NOPTS_VALUE;
    while (av().av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == index && packet->pts != AV_NOPTS_VALUE) {
            if (first == AV_NOPTS_VALUE || packet->pts < first)
                first = packet->pts;
            const int64_t length = packet->duration > 0 ? packet->duration : frameLength(stream);
            end = std::max(end == AV_NOPTS_VALUE ? packet->pts : end, packet->pts + length);
        }
        av().av_packet_unref(packet.get());
    }
    if (first != AV_NOPTS_VALUE) {
        span->first = double(first) * av_q2d(stream->time_base);
        span->length = double(end - first) * av_q2d(stream->time_base);
    }
    return true;
}

} // namespace

QString SongCutter::extensionFor(const QString& piece, QString* error)
{
    if (!AvLibrary::get(error))
        return {};
    int index = -1;
    Input input = openPiece(piece, &index, error);
    if (!input)
        return {};
    const Container* container = containerFor(input->streams[index]->codecpar->codec_id);
    if (!container) {
        *error = QCoreApplication::translate("SongCutter", "Songs in %1 cannot be kept")
                     .arg(QString::fromUtf8(av().avcodec_get_name(input->streams[index]->codecpar->codec_id)));
        return {};
    }
    return QString::fromLatin1(container->extension);
}

SongCutResult SongCutter::cut(const SongCut& cut, const QString& path)
{
    SongCutResult result;
    if (cut.pieces.isEmpty()) {
        result.error = QCoreApplication::translate("SongCutter", "Nothing was recorded");
        return result;
    }
    if (!AvLibrary::get(&result.error))
        return result;
    // Where every piece starts on the recording's timeline.
    std::vector<PieceSpan> spans(cut.pieces.size());
    std::vector<double> starts(cut.pieces.size() + 1, 0.0);
    for (qsizetype i = 0; i < cut.pieces.size(); ++i) {
        if (!measure(cut.pieces[i], &spans[i], &result.error))
            return result;
        starts[i + 1] = starts[i] + spans[i].length;
    }
    const auto at = [&](int piece, double lead) {
        return std::clamp(starts[std::clamp<qsizetype>(piece, 0, cut.pieces.size())] - lead, 0.0,
                          starts[cut.pieces.size()]);
    };
    const double from = at(cut.startPiece, cut.startLead);
    const double to = std::min(at(cut.endPiece, cut.endLead), from + cut.maximumSeconds);
    result.seconds = std::max(0.0, to - from);
    if (result.seconds < cut.minimumSeconds || result.seconds <= 0) {
        result.status = SongCutResult::TooShort;
        return result;
    }

    const qsizetype firstPiece = std::find_if(spans.begin(), spans.end(), [](const PieceSpan& s) { return s.length > 0; }) - spans.begin();
    int firstIndex = -1;
    Input first = openPiece(cut.pieces[firstPiece], &firstIndex, &result.error);
    if (!first)
        return result;
    const AVCodecParameters* parameters = first->streams[firstIndex]->codecpar;
    const Container* container = containerFor(parameters->codec_id);
    if (!container) {
        result.error = QCoreApplication::translate("SongCutter", "Songs in %1 cannot be kept")
                           .arg(QString::fromUtf8(av().avcodec_get_name(parameters->codec_id)));
        return result;
    }

    AVFormatContext* output = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (const int rc = av().avformat_alloc_output_context2(&output, nullptr, container->muxer, name.constData()); rc < 0) {
        result.error = avError(rc);
        return result;
    }
    const auto closeOutput = qScopeGuard([&] {
        if (output->pb)
            av().avio_closep(&output->pb);
        av().avformat_free_context(output);
    });
    AVStream* out = av().avformat_new_stream(output, nullptr);
    if (!out || av().avcodec_parameters_copy(out->codecpar, parameters) < 0) {
        result.error = QCoreApplication::translate("SongCutter", "Cannot set up the song's file");
        return result;
    }
    out->codecpar->codec_tag = 0;
    out->time_base = first->streams[firstIndex]->time_base;
    for (auto it = cut.tags.begin(); it != cut.tags.end(); ++it) {
        if (!it.value().isEmpty())
            av().av_dict_set(&output->metadata, it.key().toUtf8().constData(), it.value().toUtf8().constData(), 0);
    }
    first.reset();

    bool written = false;
    const auto fail = [&](const QString& error) {
        result.error = error;
        if (written || output->pb) {
            av().avio_closep(&output->pb);
            QFile::remove(path);
        }
        return result;
    };
    if (const int rc = av().avio_open(&output->pb, name.constData(), AVIO_FLAG_WRITE); rc < 0)
        return fail(QCoreApplication::translate("SongCutter", "Cannot write %1: %2").arg(path, avError(rc)));
    AVDictionary* options = nullptr;
    if (qstrcmp(container->muxer, "adts") == 0)
        av().av_dict_set(&options, "write_id3v2", "1", 0); // ADTS has no tags of its own
    const int header = av().avformat_write_header(output, &options);
    av().av_dict_free(&options);
    if (header < 0)
        return fail(QCoreApplication::translate("SongCutter", "Cannot write %1: %2").arg(path, avError(header)));
    written = true;

    Packet packet(av().av_packet_alloc());
    for (qsizetype i = 0; i < cut.pieces.size(); ++i) {
        if (spans[i].length <= 0 || starts[i + 1] <= from || starts[i] >= to)
            continue;
        int index = -1;
        Input input = openPiece(cut.pieces[i], &index, &result.error);
        if (!input)
            return fail(result.error);
        const AVStream* stream = input->streams[index];
        const double base = stream->time_base.num / double(stream->time_base.den);
        while (av().av_read_frame(input.get(), packet.get()) >= 0) {
            const auto unref = qScopeGuard([&] { av().av_packet_unref(packet.get()); });
            if (packet->stream_index != index || packet->pts == AV_NOPTS_VALUE)
                continue;
            const double t = starts[i] + double(packet->pts) * base - spans[i].first;
            // A packet belongs to the song when it starts within it (a
            // hundredth of a second allows for Matroska's rounding).
            if (t < from - 0.01 || t >= to)
                continue;
            const int64_t pts = llrint((std::max(0.0, t - from)) / av_q2d(out->time_base));
            packet->pts = pts;
            packet->dts = pts;
            packet->pos = -1;
            packet->stream_index = 0;
            if (packet->duration <= 0)
                packet->duration = frameLength(out);
            if (const int rc = av().av_write_frame(output, packet.get()); rc < 0)
                return fail(QCoreApplication::translate("SongCutter", "Cannot write %1: %2").arg(path, avError(rc)));
        }
    }
    if (const int rc = av().av_write_trailer(output); rc < 0)
        return fail(QCoreApplication::translate("SongCutter", "Cannot write %1: %2").arg(path, avError(rc)));
    if (const int rc = av().avio_closep(&output->pb); rc < 0)
        return fail(QCoreApplication::translate("SongCutter", "Cannot write %1: %2").arg(path, avError(rc)));
    result.status = SongCutResult::Written;
    return result;
}
