#include "disc/EpisodeReader.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

// The stretch of a clip an episode is known by wherever it plays: its longest play item. A Play
// All plays the same stretches as the episodes it chains, whatever openings and endings lie
// between them.
struct Stretch
{
    QString clip;
    qint64 inMs = 0;
    qint64 lengthMs = 0;
};

qint64 TitleMs(const ScannedTitle &title)
{
    qint64 ms = 0;
    for (const PlayItemRecord &item : title.contents.playItems) {
        ms += item.durationMs;
    }
    return ms;
}

bool IsEpisodeLength(qint64 ms)
{
    return ms >= kMinEpisodeMs && ms <= kMaxEpisodeMs;
}

// Lengths of one series' episodes lie within two thirds and three halves of their median.
bool IsNear(qint64 ms, qint64 medianMs)
{
    return 3 * ms >= 2 * medianMs && 2 * ms <= 3 * medianMs;
}

qint64 Median(QVector<qint64> lengths)
{
    std::sort(lengths.begin(), lengths.end());
    return lengths.isEmpty() ? 0 : lengths[(lengths.size() - 1) / 2];
}

// Whether two stretches of the same clip share at least half of the shorter.
bool Overlap(const Stretch &one, const Stretch &other)
{
    const qint64 shared = std::min(one.inMs + one.lengthMs, other.inMs + other.lengthMs) -
                          std::max(one.inMs, other.inMs);
    return shared > 0 && 2 * shared >= std::min(one.lengthMs, other.lengthMs);
}

// Whether a play item holds at least half of a stretch.
bool Holds(const PlayItemRecord &item, const Stretch &stretch)
{
    const qint64 shared = std::min(item.inMs + item.durationMs, stretch.inMs + stretch.lengthMs) -
                          std::max(item.inMs, stretch.inMs);
    return item.clipName == stretch.clip && shared > 0 && 2 * shared >= stretch.lengthMs;
}

// The stretch of the title's longest play item (the first of equal ones); none without items.
Stretch MainStretch(const ScannedTitle &title)
{
    Stretch main;
    for (const PlayItemRecord &item : title.contents.playItems) {
        if (item.durationMs > main.lengthMs) {
            main = {item.clipName, item.inMs, item.durationMs};
        }
    }
    return main;
}

QStringList ClipsOf(const QVector<PlayItemRecord> &items, qsizetype from, qsizetype to)
{
    QStringList clips;
    for (qsizetype i = from; i < to; ++i) {
        clips.append(items[i].clipName);
    }
    return clips;
}

// Finds where titles play a set of stretches.
class StretchIndex
{
public:
    explicit StretchIndex(const QVector<Stretch> &stretches) : m_stretches(stretches)
    {
        for (int i = 0; i < m_stretches.size(); ++i) {
            m_byClip[m_stretches[i].clip].append(i);
        }
    }

    // Where on the title's time line each stretch first plays (in the first item that holds
    // it); -1 where it does not.
    QVector<qint64> PlacesIn(const ScannedTitle &title) const
    {
        QVector<qint64> places(m_stretches.size(), -1);
        for (const PlayItemRecord &item : title.contents.playItems) {
            const auto found = m_byClip.constFind(item.clipName);
            if (found == m_byClip.cend()) {
                continue;
            }
            for (const int i : *found) {
                const Stretch &stretch = m_stretches[i];
                if (places[i] < 0 && Holds(item, stretch)) {
                    places[i] = item.startMs + std::max<qint64>(0, stretch.inMs - item.inMs);
                }
            }
        }
        return places;
    }

    // How many of the stretches the title plays one after another: places closer than the
    // shortest episode count once, as two versions of one episode do.
    int PlayedIn(const ScannedTitle &title) const
    {
        QVector<qint64> places = PlacesIn(title);
        std::sort(places.begin(), places.end());
        int played = 0;
        qint64 last = 0;
        for (const qint64 place : std::as_const(places)) {
            if (place >= 0 && (played == 0 || place - last >= kMinEpisodeMs)) {
                ++played;
                last = place;
            }
        }
        return played;
    }

private:
    QVector<Stretch> m_stretches;
    QHash<QString, QVector<int>> m_byClip;
};

// A feature makes the disc a film's: a title more than twice the longest episode, with a play
// item of episode length, that plays fewer than two of the episodes. A Play All, a copy of one,
// or an archive of stills is none.
bool HasFeature(const QVector<ScannedTitle> &titles, const QVector<Stretch> &episodes,
                qint64 longestEpisodeMs)
{
    const StretchIndex index(episodes);
    return std::any_of(titles.begin(), titles.end(), [&](const ScannedTitle &title) {
        return TitleMs(title) > 2 * longestEpisodeMs &&
               MainStretch(title).lengthMs >= kMinEpisodeMs && index.PlayedIn(title) < 2;
    });
}

// Episodes that are titles of their own, and whether a Play All orders them.
struct Separate
{
    QVector<Episode> episodes;
    bool withPlayAll = false;
};

// The candidates are the titles of episode length whose longest item is at least a third of them
// (an archive of stills is no episode). Of those whose longest items overlap, the shortest is the
// episode (a Play All or a longer version of it is none); the episodes are then at most
// kMaxEpisodes in playlist number order, within the length of their median. They play in the order
// the Play All (the title that plays most of them, at least two) chains them, and are the ones it
// chains; without one, in playlist number order.
Separate SeparateEpisodes(const QVector<ScannedTitle> &titles)
{
    QVector<const ScannedTitle *> candidates;
    for (const ScannedTitle &title : titles) {
        const qint64 ms = TitleMs(title);
        if (IsEpisodeLength(ms) && 3 * MainStretch(title).lengthMs >= ms) {
            candidates.append(&title);
        }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const ScannedTitle *a, const ScannedTitle *b) {
                  const qint64 aMs = TitleMs(*a), bMs = TitleMs(*b);
                  return aMs != bMs ? aMs < bMs : a->number < b->number;
              });
    QVector<const ScannedTitle *> episodes;
    QHash<QString, QVector<Stretch>> keptByClip;
    for (const ScannedTitle *title : std::as_const(candidates)) {
        const Stretch main = MainStretch(*title);
        // Each title against those kept of its clip: at most kMaxPlaylists squared comparisons.
        QVector<Stretch> &kept = keptByClip[main.clip];
        if (std::none_of(kept.begin(), kept.end(),
                         [&](const Stretch &other) { return Overlap(main, other); })) {
            episodes.append(title);
            kept.append(main);
        }
    }
    std::sort(episodes.begin(), episodes.end(),
              [](const ScannedTitle *a, const ScannedTitle *b) { return a->number < b->number; });
    episodes.resize(std::min<qsizetype>(episodes.size(), kMaxEpisodes));

    QVector<qint64> lengths;
    for (const ScannedTitle *title : std::as_const(episodes)) {
        lengths.append(TitleMs(*title));
    }
    const qint64 medianMs = Median(lengths);
    episodes.erase(std::remove_if(episodes.begin(), episodes.end(),
                                  [&](const ScannedTitle *title) {
                                      return !IsNear(TitleMs(*title), medianMs);
                                  }),
                   episodes.end());
    QVector<Stretch> stretches;
    for (const ScannedTitle *title : std::as_const(episodes)) {
        stretches.append(MainStretch(*title));
    }

    const StretchIndex index(stretches);
    const ScannedTitle *playAll = nullptr;
    int mostPlayed = 1;
    for (const ScannedTitle &title : titles) {
        const int played = index.PlayedIn(title);
        if (played > mostPlayed ||
            (played == mostPlayed && playAll != nullptr && title.number < playAll->number)) {
            mostPlayed = played;
            playAll = &title;
        }
    }
    QVector<int> order;
    const QVector<qint64> places = playAll ? index.PlacesIn(*playAll) : QVector<qint64>();
    for (int i = 0; i < episodes.size(); ++i) {
        if (playAll == nullptr || places[i] >= 0) {
            order.append(i);
        }
    }
    if (playAll != nullptr) {
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return places[a] < places[b]; });
    }

    Separate found;
    QVector<Stretch> kept;
    qint64 longestMs = 0;
    for (const int i : std::as_const(order)) {
        const ScannedTitle &title = *episodes[i];
        const QVector<PlayItemRecord> &items = title.contents.playItems;
        found.episodes.append({title.key, 0, TitleMs(title), ClipsOf(items, 0, items.size())});
        kept.append(stretches[i]);
        longestMs = std::max(longestMs, TitleMs(title));
    }
    if (found.episodes.size() < 2 || HasFeature(titles, kept, longestMs)) {
        return {};
    }
    found.withPlayAll = playAll != nullptr;
    return found;
}

// Episodes that are stretches of one title, and the stretches of their bodies.
struct Split
{
    QVector<Episode> episodes;
    QVector<Stretch> bodies;
};

// The bodies are the title's play items of episode length within the length of their median: at
// least three and at most kMaxEpisodes, together at least two thirds of the title. The items
// before the first body (an opening, a logo) lead into each episode, so as many items before each
// later body start its episode; the others end the episode before (its ending, its preview).
Split EpisodesWithin(const ScannedTitle &title)
{
    const QVector<PlayItemRecord> &items = title.contents.playItems;
    QVector<qint64> lengths;
    for (const PlayItemRecord &item : items) {
        if (IsEpisodeLength(item.durationMs)) {
            lengths.append(item.durationMs);
        }
    }
    const qint64 medianMs = Median(lengths);
    Split split;
    QVector<qsizetype> bodies;
    qint64 bodiesMs = 0;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const PlayItemRecord &item = items[i];
        if (!IsEpisodeLength(item.durationMs) || !IsNear(item.durationMs, medianMs)) {
            continue;
        }
        if (bodies.size() == kMaxEpisodes) {
            return {};
        }
        bodies.append(i);
        split.bodies.append({item.clipName, item.inMs, item.durationMs});
        bodiesMs += item.durationMs;
    }
    if (bodies.size() < 3 || 3 * bodiesMs < 2 * TitleMs(title)) {
        return {};
    }
    const qsizetype leadIn = bodies.first();
    QVector<qsizetype> starts{0};
    for (qsizetype b = 1; b < bodies.size(); ++b) {
        starts.append(std::max(bodies[b - 1] + 1, bodies[b] - leadIn));
    }
    for (qsizetype e = 0; e < starts.size(); ++e) {
        const qsizetype to = e + 1 < starts.size() ? starts[e + 1] : items.size();
        const PlayItemRecord &last = items[to - 1];
        const qint64 startMs = items[starts[e]].startMs;
        split.episodes.append({title.key, startMs, last.startMs + last.durationMs - startMs,
                               ClipsOf(items, starts[e], to)});
    }
    return split;
}

} // namespace

QVector<Episode> FindEpisodes(const DiscScan &scan)
{
    const Separate separate = SeparateEpisodes(scan.titles);
    if (separate.withPlayAll) {
        return separate.episodes;
    }
    // A Play All alone: the title split into the most episodes, the first in number order of
    // those split into as many. An episode found as a title of its own is never split: its play
    // items are its parts.
    QSet<QString> separateKeys;
    for (const Episode &episode : separate.episodes) {
        separateKeys.insert(episode.titleKey);
    }
    const ScannedTitle *best = nullptr;
    Split within;
    for (const ScannedTitle &title : scan.titles) {
        if (separateKeys.contains(title.key)) {
            continue;
        }
        Split split = EpisodesWithin(title);
        const qsizetype count = split.episodes.size();
        if (count > 0 && (count > within.episodes.size() ||
                          (count == within.episodes.size() && title.number < best->number))) {
            best = &title;
            within = std::move(split);
        }
    }
    if (best == nullptr) {
        return separate.episodes;
    }
    qint64 longestMs = 0;
    for (const Episode &episode : std::as_const(within.episodes)) {
        longestMs = std::max(longestMs, episode.lengthMs);
    }
    return HasFeature(scan.titles, within.bodies, longestMs) ? QVector<Episode>() : within.episodes;
}
