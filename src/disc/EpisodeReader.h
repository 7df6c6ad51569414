#pragma once

#include "disc/TitleScan.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <QtGlobal>

// One episode of a series disc: a stretch of one title.
struct Episode
{
    QString titleKey;   // ScannedTitle::key of the title that plays it
    qint64 startMs = 0; // where it starts on that title's time line
    qint64 lengthMs = 0;
    QStringList clips; // the clip names of its play items, in order ("00001.M2TS")
};

// Episodes are between 15 and 65 minutes long: a cartoon's half hour without its adverts, up to
// an hour's drama. Shorter titles are openings, endings, previews and bumpers.
inline constexpr qint64 kMinEpisodeMs = 15 * 60 * 1000;
inline constexpr qint64 kMaxEpisodeMs = 65 * 60 * 1000;

// The most episodes a disc lists. Series discs hold a few, compilations of short episodes in
// standard definition some dozens; the cap bounds the matching of every title's play items
// against the episodes.
inline constexpr int kMaxEpisodes = 200;

// Tells whether a disc holds a series and, if so, lists its episodes in the order they play on
// the disc; a film's disc, or one of short pieces only, has none. The rules are written out in
// docs/episodes.md. Only the scanned titles' play items (clips, in times, lengths) are read.
QVector<Episode> FindEpisodes(const DiscScan &scan);
