#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>

#include <optional>

// Finds byte-identical copies among a disc's playlists. Only files of equal size can be copies,
// so the first playlist of each size is only held; a second of that size is compared with it
// byte for byte. From then on that size's playlists are held in a set of the bytes themselves:
// Qt's hash is seeded afresh in each run, so no disc can make its entries meet more than by
// chance, and a match is a byte comparison. What a budget cannot hold goes by BLAKE2b-512
// digests instead, which collide for no disc.
class PlaylistCopies
{
public:
    static constexpr qsizetype kHeldBytesLimit = 16 << 20;

    explicit PlaylistCopies(qsizetype heldBytesLimit = kHeldBytesLimit);

    // The index the same bytes were first seen under; otherwise nothing, and from now on they
    // count as seen under `index`.
    std::optional<qsizetype> FirstSeenAt(const QByteArray &bytes, qsizetype index);

private:
    qsizetype m_heldBytesLimit;
    qsizetype m_heldBytes = 0;
    struct Seen
    {
        QByteArray bytes;
        qsizetype index = 0;
    };
    QHash<qsizetype, Seen> m_onlyOfSize; // the one playlist of its size so far
    QSet<qsizetype> m_repeatedSizes;
    QHash<QByteArray, qsizetype> m_held;    // bytes to the index they were first seen under
    QHash<QByteArray, qsizetype> m_digests; // digests to the same
};
