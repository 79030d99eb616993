// Small helpers shared by the Quillora test programs.
#pragma once

#include "Catalogue/StationsLoader.h"
#include "Playback/MediaPlayer.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPointer>
#include <QTemporaryFile>
#include <QUrl>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <unistd.h>

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the whole file, making its folder; false when that fails.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The pitch of s16 mono `audio` at `sampleRate` from its zero crossings; 0
// when it is quiet or empty.
inline double pitchOf(const QByteArray& audio, int sampleRate)
{
    const auto* samples = reinterpret_cast<const qint16*>(audio.constData());
    const qsizetype count = audio.size() / 2;
    int crossings = 0;
    int loudest = 0;
    for (qsizetype i = 0; i < count; ++i) {
        loudest = std::max(loudest, std::abs(int(samples[i])));
        if (i > 0 && (samples[i - 1] < 0) != (samples[i] < 0))
            ++crossings;
    }
    return count == 0 || loudest < 1000 ? 0 : crossings / 2.0 / (double(count) / sampleRate);
}

// Text safe to show: no controls, no direction overrides or isolates, no
// lone surrogates, nothing to trim, no double spaces.
inline bool isCleanText(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069)
            || c == 0x200E || c == 0x200F || c == 0xFEFF)
            return false;
        if (text.at(i).isHighSurrogate() && (i + 1 == text.size() || !text.at(i + 1).isLowSurrogate()))
            return false;
        if (text.at(i).isLowSurrogate() && (i == 0 || !text.at(i - 1).isHighSurrogate()))
            return false;
    }
    return text == text.trimmed() && !text.contains(QLatin1String("  "));
}

// Captures what the process writes to standard output meanwhile.
class StdoutCapture {
public:
    StdoutCapture()
    {
        m_file.open();
        std::fflush(stdout);
        m_saved = ::dup(STDOUT_FILENO);
        ::dup2(m_file.handle(), STDOUT_FILENO);
    }
    ~StdoutCapture() { restore(); }

    QByteArray text()
    {
        std::fflush(stdout);
        QFile reader(m_file.fileName());
        reader.open(QIODevice::ReadOnly);
        return reader.readAll();
    }

    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stdout);
        ::dup2(m_saved, STDOUT_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }

private:
    QTemporaryFile m_file;
    int m_saved = -1;
};

// A catalogue given by the test, at hand at once.
class FixedLoader final : public StationsLoader {
public:
    explicit FixedLoader(QList<Station> stations)
        : stations(std::move(stations))
    {
    }
    StationsReply* load() override
    {
        auto* reply = new StationsReply;
        reply->finish(stations, {});
        return reply;
    }
    QList<Station> stations;
};

inline Station testStation(qint64 id, const QString& url = {})
{
    return Station{id, url.isEmpty() ? QStringLiteral("http://127.0.0.1:9/stream%1").arg(id) : url,
                   QStringLiteral("http://127.0.0.1:9/logo%1.png").arg(id), QStringLiteral("Genre %1").arg(id),
                   QStringLiteral("Station %1").arg(id)};
}

// Records what the player asks for; play/pause set the rate like a real one.
class RecordingMediaPlayer final : public MediaPlayer {
public:
    QList<QUrl> items;
    float currentRate = 0;
    float currentVolume = 1;

    void replaceItem(const QUrl& url) override
    {
        items.append(url);
        setAudioPlaying(false); // a new stream starts silent
    }
    void play() override { currentRate = 1; }
    void pause() override { currentRate = 0; }
    float rate() const override { return currentRate; }
    float volume() const override { return currentVolume; }
    void setVolume(float volume) override { currentVolume = std::clamp(volume, 0.0f, 1.0f); }
    void fail(const QString& message, EndCause cause = EndCause::Other)
    {
        currentRate = 0;
        setAudioPlaying(false);
        emit playbackEnded(message, cause);
    }
    // Sound comes out of the stream (true) or stops (false).
    void sound(bool on) { setAudioPlaying(on); }
};

// A catalogue that arrives when the test says so (finished() then comes
// from the event loop, as from a real source).
class ManualLoader final : public StationsLoader {
public:
    StationsReply* load() override
    {
        pending = new StationsReply;
        ++loads;
        return pending;
    }
    void deliver(const QList<Station>& stations)
    {
        if (!pending)
            return;
        StationsReply* reply = std::exchange(pending, nullptr);
        reply->finish(stations, {});
        // The test looks at once: its queued finished() runs now.
        QCoreApplication::sendPostedEvents(reply, QEvent::MetaCall);
    }
    QPointer<StationsReply> pending;
    int loads = 0;
};
