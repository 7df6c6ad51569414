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
    if (m_sourceKind == kSourceBluRay) {
        return m_sourceKey;
    }
    const QString path = QFileInfo(m_pathToPlay).absoluteFilePath();
    if (m_sourceKind == kSourceDvd) {
        return path + QStringLiteral("#title%1").arg(m_dvdTitle > 0 ? m_dvdTitle : 1);
    }
    return path;
}

int DRUI::ResumePositionFor(const QString &key)
{
    const std::optional<qint64> seconds = Places().PositionFor(key);
    return seconds && *seconds < m_durationSec ? static_cast<int>(*seconds) : 0;
}

void DRUI::RememberWherePlaybackIs()
{
    if (!m_engine->IsLive() || m_resumeKey.isEmpty()) {
        return;
    }
    const qint64 length = m_durationSec > 0 ? m_durationSec : m_engine->LengthSec();
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
