#pragma once

#include "PlaylistWriter.h"

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>
#include <QtGlobal>

// Writes a small unencrypted Blu-ray folder (BDMV) from a short description, for tests: the
// clips are made with ffmpeg (a test picture and one tone per audio language), the clip
// information, playlists, index and movie objects are written from what the clips really hold.
// libbluray lists the titles and MPlayer plays them ("br://N -bluray-device FOLDER").
namespace DiscWriter {

struct Clip
{
    QByteArray name = "00001"; // five digits: STREAM/name.m2ts and CLIPINF/name.clpi
    int seconds = 5;
    enum Video
    {
        H264,
        Mpeg2
    } video = Mpeg2;
    QVector<QByteArray> audioLanguages = {"eng"}; // one AC-3 stream (and tone) each
};

// One play item: a stretch of a clip, in milliseconds from the clip's start (its first picture,
// give or take the 6 ms that libbluray's entry point times round to).
struct TitleItem
{
    QByteArray clip = "00001";
    qint64 inMs = 0;
    qint64 outMs = -1;              // -1: the clip's end
    QVector<QByteArray> angleClips; // clips of the angles after the first (same times)
};

struct Title
{
    QByteArray playlist = "00001"; // PLAYLIST/playlist.mpls
    QVector<TitleItem> items;
    QVector<qint64> chapterMs; // entry marks on the title's time line, as given
    // Presentation graphics entries in every item, PIDs 0x1200 on. The clips carry no such
    // streams (ffmpeg cannot make them): the entries are for the menus only.
    QVector<QByteArray> subtitleLanguages;
};

struct Disc
{
    // META/DL/bdmt_eng.xml, written when there is a name or a thumbnail (thumb.jpg, beside it).
    QByteArray name;
    bool withThumbnail = true;
    QVector<Clip> clips;
    QVector<Title> titles;
    // Playlists written as byte-identical copies of another: {copy, original}.
    QVector<QPair<QByteArray, QByteArray>> copies;
};

// Writes the disc into folder (created; files already there are overwritten). Every title and
// every copy becomes an index title whose movie object plays its playlist, in that order; first
// play and the top menu jump to title 1. On failure the reason goes to *error.
bool Write(const Disc &disc, const QString &folder, QString *error = nullptr);

// Writes a disc of movie playlists alone, named by their five digits, and an empty stream
// folder: all the title scan reads, as the lengths are the playlists' own in and out times. For
// the shapes of discs whose clips would take too long to make.
bool WritePlaylists(const QVector<QPair<QByteArray, PlaylistWriter::Playlist>> &playlists,
                    const QString &folder, QString *error = nullptr);

// The disc that make-bluray-folder writes: three titles (12 s with two audio languages, a
// subtitle entry and three chapters; 6 s; 4 s with two angles), a copy of the first playlist,
// and a loop-menu playlist (three items, the second and third of the same clip).
Disc DemoDisc();

// The episodic demo disc of make-bluray-folder --episodes: two episodes of a little over 15
// minutes (the shortest an episode is) as playlists 00002 and 00003, each an opening, a body and
// an ending (5 s each side, the same clips), a Play All of both (00001) and the opening alone
// (00004). The bodies are still pictures, a few megabytes a minute.
Disc EpisodesDemoDisc();

} // namespace DiscWriter
