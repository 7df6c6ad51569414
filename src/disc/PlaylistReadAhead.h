#pragma once

#include "disc/MoviePlaylistReader.h"

#include <QByteArray>

#include <array>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// One playlist file as read and parsed.
struct LoadedPlaylist
{
    bool read = false; // false: not read, and the rest is empty
    QByteArray bytes;
    PlaylistContents contents;
};

using PlaylistRead = std::function<bool(qsizetype index, QByteArray &bytes)>;

// Reads the playlist of `index` with `read`, and parses it when it was read.
LoadedPlaylist LoadPlaylist(const PlaylistRead &read, qsizetype index);

// Reads and parses a disc's playlists on two threads, the caller's and a helper's, taking turns
// (the even indexes here, the odd ones there), and hands them over in listing order. Opening
// and parsing a thousand small files is most of a large disc's scan. Fixed turns keep the two
// threads from meeting over every playlist; the helper stays at most kSlots playlists of its
// own ahead of the caller, and reads no more while they hold kAheadBytes, so a disc of large
// playlists is never held whole. `read` must be safe to call from two threads at once.
class PlaylistReadAhead
{
public:
    PlaylistReadAhead(qsizetype count, PlaylistRead read, const std::atomic<bool> *cancelled);
    // Stops the helper and waits for it.
    ~PlaylistReadAhead();
    PlaylistReadAhead(const PlaylistReadAhead &) = delete;
    PlaylistReadAhead &operator=(const PlaylistReadAhead &) = delete;

    // The playlist of `index`; indexes are taken once each, from 0 up. Not read when the read
    // failed or the scan was cancelled before it.
    LoadedPlaylist Take(qsizetype index);

private:
    static constexpr qsizetype kSlots = 64;
    static constexpr qsizetype kAheadBytes = 8 << 20;

    bool Cancelled() const;
    void Help();

    const qsizetype m_count;
    const PlaylistRead m_read;
    const std::atomic<bool> *m_cancelled;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::array<LoadedPlaylist, kSlots> m_slots; // the helper's loaded playlists, not yet taken
    LoadedPlaylist &SlotOf(qsizetype index) { return m_slots[std::size_t(index / 2 % kSlots)]; }

    qsizetype m_taken = 0;      // every index below this has been handed over
    qsizetype m_loaded = 1;     // the helper's next index: every odd one below it is in its slot
    qsizetype m_aheadBytes = 0; // the bytes of the playlists in the slots
    bool m_helperDone = false;
    bool m_stop = false;
    std::thread m_helper;
};
