#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"
#include "look/Look.h"
#include "platform/ExternalPrograms.h"
#include "ui/MenuData.h"
#include "util/TextConversion.h"
#include "util/TimeText.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTableWidget>

#include <algorithm>

namespace {

const QString kNoElapsedTime = QStringLiteral("00:00:00 ");
// The slider follows the clock once every this many position answers.
constexpr int kAnswersPerSliderMove = 5;

} // namespace

void DRUI::ConnectPlayback()
{
    connect(m_playback, &Playback::StateChanged, this, &DRUI::RenderPlaybackState);
    connect(m_playback, &Playback::ClockChanged, this, &DRUI::RenderClock);
    connect(m_playback, &Playback::PositionAnswered, this, [this] {
        // A held handle follows the pointer, not the clock.
        if (++m_positionAnswerCount >= kAnswersPerSliderMove && !m_seekSlider->isSliderDown()) {
            m_seekSlider->setValue(SecondsAsInt(m_playback->ClockSec()));
            m_positionAnswerCount = 0;
        }
    });
    connect(m_playback, &Playback::Sought, this, [this](int seconds) {
        m_positionAnswerCount = 0;
        m_seekSlider->setValue(seconds);
    });
    connect(m_playback, &Playback::LengthChanged, this, [this](qint64 seconds) {
        m_seekSlider->setRange(0, SecondsAsInt(seconds));
        m_totalLabel->setText(QLatin1Char(' ') + FormatTime(seconds));
    });
    connect(m_playback, &Playback::MediumChanged, this, &DRUI::RenderMedium);
    // Only what plays is remembered: a file the engine cannot play never pushes one out.
    connect(m_playback, &Playback::MediumPlays, this,
            [this] { RecordRecentPath(m_playback->Path()); });
    connect(m_playback, &Playback::VolumeChanged, this, &DRUI::RenderVolume);
    connect(m_playback, &Playback::AdjustmentsChanged, this, &DRUI::RenderAdjustments);
    connect(m_playback, &Playback::TracksKnown, this, &DRUI::FillTrackMenus);
    connect(m_playback, &Playback::PlaybackStarted, this, [this] {
        if (m_playback->Kind() == kSourceDvd) {
            BuildDvdMenus();
        }
    });
    connect(m_playback, &Playback::AudioTrackAnswered, this, [this](int streamId) {
        TickTrack(m_audioTrackMenu, streamId,
                  [this](int entry) { return m_playback->AudioStreamId(entry); });
    });
    connect(m_playback, &Playback::SubtitleTrackAnswered, this, [this](int streamId) {
        TickTrack(m_subtitleTrackMenu, streamId,
                  [this](int entry) { return m_playback->SubtitleStreamId(entry); });
    });
    connect(m_playback, &Playback::SubtitleFileAnswered, this, [this](int fileIndex) {
        // Stream answers never tick a file's entry; this answer ticks it alone when it shows.
        if (fileIndex < 0) {
            return;
        }
        for (QAction *entry : m_subtitleTrackMenu->actions()) {
            const bool shown = entry->data().toInt() == kSubtitleFileEntry + fileIndex;
            entry->setCheckable(entry->isCheckable() || shown);
            entry->setChecked(shown);
        }
    });
    // Told once the engine's output has been handled, not in the middle of it.
    connect(
        m_playback, &Playback::SnapshotNotSaved, this,
        [this](const char *messageKey) { ShowMessageBox(this, messageKey); },
        Qt::QueuedConnection);
    connect(m_playback, &Playback::Ended, this, [this](const QString &path, bool unplayable) {
        if (unplayable) {
            ShowMessageBox(this, "Messages/MSG0503", OneLineText(path, kShownNameLength));
        }
    });
    connect(m_playback, &Playback::FailedToStart, this, [this] {
        ShowMessageBox(this, "Messages/MSG0501", OneLineText(EngineProgram(), kShownNameLength));
    });
}

void DRUI::RenderPlaybackState(EngineSession::State state)
{
    const bool playing = state == EngineSession::State::Playing;
    // The title bar names what plays, as plain text of one short line.
    const QString product = GetText("MainWnd/ProTitle");
    setWindowTitle(m_playback->IsLive() ? OneLineText(m_playback->Name(), kShownNameLength) +
                                              QStringLiteral(" \u2013 ") + product
                                        : product);
    m_playButton->setIcon(QIcon(QString::fromLatin1(playing ? Images::kPause : Images::kPlay)));
    if (playing) {
        m_playAction->setText(GetText("MainWnd/Pause"));
        m_playAction->setData(MenuData::kPause);
    } else if (state == EngineSession::State::Paused) {
        m_playAction->setText(GetText("MainWnd/Resume"));
        m_playAction->setData(MenuData::kResume);
    } else {
        m_playAction->setText(GetText("MainWnd/Play"));
        m_playAction->setData(MenuData::kPlay);
    }
}

void DRUI::RenderClock()
{
    // While the handle is dragged the clock tells where it would land.
    const qint64 seconds =
        m_seekSlider->isSliderDown() ? m_seekSlider->sliderPosition() : m_playback->ClockSec();
    m_elapsedLabel->setText(FormatTime(seconds) + QLatin1Char(' '));
}

void DRUI::RenderMedium()
{
    m_positionAnswerCount = 0;
    m_seekSlider->setValue(0);
    m_elapsedLabel->setText(kNoElapsedTime);
    RenderPlaybackState(m_playback->State());
    if (m_playback->Path().isEmpty()) {
        // Nothing of the last medium stays on screen.
        m_fileNameLabel->clear();
        m_fileNameLabel->hide();
        m_seekSlider->setEnabled(false);
        if (CurrentPage() == kVideoPage) {
            ShowPageAfterPlayback();
        }
        MarkPlayingRow();
        return;
    }
    ShowPage(kVideoPage);
    m_seekSlider->setEnabled(true);
    if (m_playback->Kind() != kSourceBluRay) {
        ClearEntryMenu(m_titleMenu);
        ClearEntryMenu(m_episodeMenu);
        m_episodesAction->setVisible(false);
        // A file's or a DVD's streams are the engine's to announce: nothing carries over.
        m_audioTrackMenu->clear();
        m_subtitleTrackMenu->clear();
        ClearEntryMenu(m_chapterMenu);
    } else if (const DiscTitle *title = m_whatPlays->Title(m_playback->TitleKey())) {
        // The chapters of the title that plays, which need not be the main title's.
        FillChapterMenu(title->chapterStartsMs);
    }
    MarkPlayingRow();
}

void DRUI::RenderVolume()
{
    const bool muted = m_playback->IsMuted();
    m_volumeSlider->setValue(m_playback->Volume());
    m_muteAction->setChecked(muted);
    const QPixmap picture(QString::fromLatin1(muted ? Images::kNoVolume : Images::kVolume));
    m_volumeButton->setIcon(QIcon(picture));
    m_volumeButton->setIconSize(picture.size());
    m_volumeButton->setFixedSize(picture.size());
}

void DRUI::StopBtn()
{
    m_playback->Stop();
}

void DRUI::StopPlaybackAndProbes()
{
    m_whatPlays->EndBackgroundWork();
    m_playback->Stop();
}

void DRUI::Navigation()
{
    m_playback->Stop();
    ShowPage(m_whatPlays->Current().kind == kSourceBluRay ? kNavigationPage : kStartPage);
}

void DRUI::btnCloseSlot()
{
    close();
}

void DRUI::RecordRecentPath(const QString &path)
{
    if (m_recentFiles.Record(path, RecentFilePath())) {
        FillRecentMenu();
    }
}

void DRUI::MarkPlayingRow()
{
    const QVector<PLAY_LIST_INFO> &list = m_whatPlays->PlayList();
    const int rows = std::min<int>(m_playListTable->rowCount(), list.size());
    const QString &playing = m_playback->Path();
    for (int row = 0; row < rows; ++row) {
        QTableWidgetItem *item = m_playListTable->item(row, 0);
        if (item == nullptr) {
            continue;
        }
        if (!playing.isEmpty() && list[row].strPath == playing) {
            m_playListTable->selectRow(row);
            m_playListTable->setFocus();
            item->setIcon(QIcon(QString::fromLatin1(Images::kPlayStatus)));
        } else if (m_whatPlays->IsUnplayable(list[row].strPath)) {
            item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
        } else {
            item->setIcon(QIcon());
        }
    }
}

void DRUI::Snapshot()
{
    m_playback->TakeSnapshot();
}
