#include "desktop/MprisInterfaces.h"

#include "disc/SourceClassification.h"
#include "playing/M3uList.h"
#include "playing/Playback.h"
#include "playing/WhatPlays.h"
#include "util/TimeText.h"

#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr qint64 kMicrosecondsPerSecond = 1000000;

qlonglong Microseconds(qint64 seconds)
{
    // A length read from a stranger's file must not wrap around.
    constexpr qint64 most = std::numeric_limits<qlonglong>::max() / kMicrosecondsPerSecond;
    return std::clamp<qint64>(seconds, -most, most) * kMicrosecondsPerSecond;
}

// Whole seconds, the steps the engine seeks by, within an int.
int Seconds(qlonglong microseconds)
{
    return SecondsAsInt(std::llround(static_cast<double>(microseconds) / kMicrosecondsPerSecond));
}

} // namespace

MprisRoot::MprisRoot(QObject *controls, const WindowCalls &window)
    : QDBusAbstractAdaptor(controls), m_window(window)
{
}

QString MprisRoot::Identity() const
{
    return QStringLiteral("Tavrix BluRay Player");
}

QString MprisRoot::DesktopEntry() const
{
    return QStringLiteral("org.tavrix.BluRayPlayer");
}

QStringList MprisRoot::SupportedUriSchemes() const
{
    return {QStringLiteral("file")};
}

QStringList MprisRoot::SupportedMimeTypes() const
{
    // The video types of the desktop entry; folders and disc images are no single file's type.
    return {QStringLiteral("video/mpeg"),      QStringLiteral("video/mp4"),
            QStringLiteral("video/quicktime"), QStringLiteral("video/x-msvideo"),
            QStringLiteral("video/x-ms-wmv"),  QStringLiteral("video/x-flv"),
            QStringLiteral("video/3gpp"),      QStringLiteral("video/3gpp2"),
            QStringLiteral("video/dv"),        QStringLiteral("video/x-matroska"),
            QStringLiteral("video/mp2t"),      QStringLiteral("video/x-ogm+ogg")};
}

void MprisRoot::Raise()
{
    m_window.raise();
}

void MprisRoot::Quit()
{
    m_window.quit();
}

MprisPlayer::MprisPlayer(QObject *controls, Playback *playback, WhatPlays *whatPlays,
                         std::function<void(const QStringList &)> open)
    : QDBusAbstractAdaptor(controls), m_playback(playback), m_whatPlays(whatPlays),
      m_open(std::move(open))
{
    connect(m_playback, &Playback::MediumChanged, this, [this] {
        if (!m_playback->Path().isEmpty()) {
            ++m_track;
        }
    });
    connect(m_playback, &Playback::Sought, this,
            [this](int seconds) { emit Seeked(Microseconds(seconds)); });
}

QString MprisPlayer::PlaybackStatus() const
{
    switch (m_playback->State()) {
    case EngineSession::State::Playing: return QStringLiteral("Playing");
    case EngineSession::State::Paused: return QStringLiteral("Paused");
    default: return QStringLiteral("Stopped");
    }
}

QString MprisPlayer::TrackId() const
{
    // A number of our own: a path from a file name could hold anything.
    return QStringLiteral("/org/tavrix/track/%1").arg(m_track);
}

QVariantMap MprisPlayer::Metadata() const
{
    const QString &path = m_playback->Path();
    if (path.isEmpty()) {
        return {};
    }
    QVariantMap metadata;
    metadata.insert(QStringLiteral("mpris:trackid"),
                    QVariant::fromValue(QDBusObjectPath(TrackId())));
    if (m_playback->LengthSec() > 0) {
        metadata.insert(QStringLiteral("mpris:length"), Microseconds(m_playback->LengthSec()));
    }
    metadata.insert(QStringLiteral("xesam:title"), m_playback->Name());
    metadata.insert(
        QStringLiteral("xesam:url"),
        QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded));
    return metadata;
}

double MprisPlayer::Volume() const
{
    return static_cast<double>(m_playback->Volume()) / Playback::kLoudest;
}

void MprisPlayer::SetVolume(double volume)
{
    if (!std::isfinite(volume)) {
        return;
    }
    m_playback->SetVolume(
        static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * Playback::kLoudest)));
}

qlonglong MprisPlayer::Position() const
{
    constexpr qint64 most = std::numeric_limits<qlonglong>::max() / 1000;
    return m_playback->IsLive() ? std::clamp<qint64>(m_playback->ClockMs(), 0, most) * 1000 : 0;
}

bool MprisPlayer::CanGoNext() const
{
    return m_playback->CanStep(true);
}

bool MprisPlayer::CanGoPrevious() const
{
    return m_playback->CanStep(false);
}

bool MprisPlayer::CanPlay() const
{
    // With nothing chosen the window's Play asks for a file: no program on the bus does that.
    return m_playback->IsLive() || !m_whatPlays->Current().path.isEmpty();
}

bool MprisPlayer::CanPause() const
{
    return m_playback->IsLive();
}

bool MprisPlayer::CanSeek() const
{
    return m_playback->IsLive();
}

QVariantMap MprisPlayer::Announced() const
{
    return {
        {QStringLiteral("PlaybackStatus"), PlaybackStatus()},
        {QStringLiteral("Metadata"), Metadata()},
        {QStringLiteral("Volume"), Volume()},
        {QStringLiteral("CanGoNext"), CanGoNext()},
        {QStringLiteral("CanGoPrevious"), CanGoPrevious()},
        {QStringLiteral("CanPlay"), CanPlay()},
        {QStringLiteral("CanPause"), CanPause()},
        {QStringLiteral("CanSeek"), CanSeek()},
    };
}

void MprisPlayer::PlayPause()
{
    if (CanPlay()) {
        m_playback->PlayOrPause();
    }
}

void MprisPlayer::Play()
{
    if (m_playback->State() != EngineSession::State::Playing) {
        PlayPause();
    }
}

void MprisPlayer::Pause()
{
    m_playback->Pause();
}

void MprisPlayer::Stop()
{
    m_playback->Stop();
}

void MprisPlayer::Next()
{
    if (CanGoNext()) {
        m_playback->Step(true);
    }
}

void MprisPlayer::Previous()
{
    if (CanGoPrevious()) {
        m_playback->Step(false);
    }
}

void MprisPlayer::Seek(qlonglong offset)
{
    // Stopped, the owner seeks nowhere.
    m_playback->SeekBy(Seconds(offset));
}

void MprisPlayer::SetPosition(const QDBusObjectPath &trackId, qlonglong position)
{
    // A stale track's position, one before the start or one past the end is not sought.
    const qint64 length = m_playback->LengthSec();
    if (trackId.path() != TrackId() || position < 0 ||
        (length > 0 && position > Microseconds(length))) {
        return;
    }
    m_playback->SeekTo(Seconds(position));
}

void MprisPlayer::OpenUri(const QString &uri)
{
    // Only a video file, a disc image or a disc folder that is there: anything else would only
    // bring up a message, inside the call, that nobody at the bus asked for.
    const QString path = QUrl(uri, QUrl::StrictMode).toLocalFile();
    const bool file = IsPlayableFile(path) && !M3uList::IsListFile(path);
    const bool disc = QFileInfo(path).isDir() &&
                      ClassifyDiscFolder(DiscRootOf(path)) != DiscFolderKind::NotRecognised;
    if (file || disc) {
        m_open({path});
    }
}
