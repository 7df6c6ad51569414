#include "ui/DRUI.h"

#include "engine/ResumeStore.h"
#include "platform/AppDataFolder.h"

#include <QFileInfo>
#include <QSlider>

namespace {

ResumeStore Places()
{
    return ResumeStore(StateFolder() + QStringLiteral("resume.txt"));
}

} // namespace

QString DRUI::ResumeKeyOfSource() const
{
    // A file by its path; a disc title by its playlist, or the DVD folder and its title.
    const WhatPlays::Source &source = m_whatPlays->Current();
    if (source.kind == kSourceBluRay) {
        return source.titleKey;
    }
    const QString path = QFileInfo(source.path).absoluteFilePath();
    if (source.kind == kSourceDvd) {
        return path + QStringLiteral("#title%1").arg(source.dvdTitle > 0 ? source.dvdTitle : 1);
    }
    return path;
}

int DRUI::ResumePositionFor(const QString &key)
{
    const std::optional<qint64> seconds = Places().PositionFor(key);
    return seconds && *seconds < DurationSec() ? static_cast<int>(*seconds) : 0;
}

void DRUI::RememberWherePlaybackIs()
{
    if (!m_engine->IsLive() || m_resumeKey.isEmpty()) {
        return;
    }
    const qint64 length = DurationSec() > 0 ? DurationSec() : m_engine->LengthSec();
    Places().Remember(m_resumeKey, m_engine->ClockMs() / 1000, length);
}

void DRUI::ForgetWherePlaybackWas()
{
    if (!m_resumeKey.isEmpty()) {
        Places().Forget(m_resumeKey);
    }
}

void DRUI::StartOver()
{
    if (!m_engine->IsLive()) {
        return;
    }
    ForgetWherePlaybackWas();
    ResumePlayback();
    m_seekSlider->setValue(0);
    m_engine->Seek(0);
}
