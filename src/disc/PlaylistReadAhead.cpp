#include "disc/PlaylistReadAhead.h"

#include <system_error>

LoadedPlaylist LoadPlaylist(const PlaylistRead &read, qsizetype index)
{
    LoadedPlaylist playlist;
    playlist.read = read(index, playlist.bytes);
    if (playlist.read) {
        MoviePlaylistReader::Parse(playlist.bytes, playlist.contents);
    }
    return playlist;
}

PlaylistReadAhead::PlaylistReadAhead(qsizetype count, PlaylistRead read,
                                     const std::atomic<bool> *cancelled)
    : m_count(count), m_read(std::move(read)), m_cancelled(cancelled)
{
    if (count < 2) {
        return;
    }
    try {
        m_helper = std::thread([this] { Help(); });
    } catch (const std::system_error &) {
        // No thread to be had: the caller reads every playlist itself.
    }
}

PlaylistReadAhead::~PlaylistReadAhead()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_helper.joinable()) {
        m_helper.join();
    }
}

bool PlaylistReadAhead::Cancelled() const
{
    return m_cancelled != nullptr && m_cancelled->load();
}

LoadedPlaylist PlaylistReadAhead::Take(qsizetype index)
{
    LoadedPlaylist playlist;
    if (index % 2 == 0 || !m_helper.joinable()) {
        if (!Cancelled()) {
            playlist = LoadPlaylist(m_read, index);
        }
    } else {
        std::unique_lock lock(m_mutex);
        // The helper either loads it or, cancelled, says it is done.
        m_changed.wait(lock, [&] { return index < m_loaded || m_helperDone; });
        if (index < m_loaded) {
            playlist = std::move(SlotOf(index));
            m_aheadBytes -= playlist.bytes.size();
        }
    }
    {
        const std::lock_guard lock(m_mutex);
        m_taken = index + 1;
    }
    m_changed.notify_all();
    return playlist;
}

void PlaylistReadAhead::Help()
{
    for (qsizetype index = 1; index < m_count; index += 2) {
        {
            std::unique_lock lock(m_mutex);
            // The slot is free once the playlist that had it before, kSlots turns back, is taken.
            m_changed.wait(lock, [&] {
                return m_stop || (index - 2 * kSlots < m_taken && m_aheadBytes < kAheadBytes);
            });
            if (m_stop || Cancelled()) {
                break;
            }
        }
        LoadedPlaylist playlist = LoadPlaylist(m_read, index);
        const std::lock_guard lock(m_mutex);
        m_aheadBytes += playlist.bytes.size();
        SlotOf(index) = std::move(playlist);
        m_loaded = index + 2;
        m_changed.notify_all();
    }
    const std::lock_guard lock(m_mutex);
    m_helperDone = true;
    m_changed.notify_all();
}
