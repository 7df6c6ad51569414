#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

// Where playback was left, per medium or disc title, kept in a small text file: one line a
// place, "SECONDS<tab>KEY", newest first. The file is written by this program only; a line it
// cannot read is skipped, a missing or unreadable file is an empty store.
class ResumeStore
{
public:
    // Places kept at most; the oldest are forgotten first.
    static constexpr int kMaxPlaces = 200;
    // Shorter media start from the beginning every time.
    static constexpr qint64 kShortestSeconds = 180;
    // Positions this close to either end are not worth coming back to.
    static constexpr qint64 kEndMarginSeconds = 60;
    static constexpr qint64 kStartMarginSeconds = 10;

    explicit ResumeStore(QString file);

    // The position to come back to for the key, when there is one.
    std::optional<qint64> PositionFor(const QString &key) const;

    // Keeps the position of a medium of the given length that was left there; a short medium,
    // a position near either end, or a key that cannot be written on one line forgets the key
    // instead. Returns whether the file was written.
    bool Remember(const QString &key, qint64 positionSeconds, qint64 lengthSeconds);

    // Forgets the key (played to its end, or started over).
    bool Forget(const QString &key);

private:
    using Place = std::pair<QByteArray, qint64>; // key as written, seconds
    std::vector<Place> Load() const;
    bool Save(const std::vector<Place> &places) const;

    QString m_file;
};
