#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>

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

    // True when the same bytes came before; otherwise they count as seen from now on.
    bool IsCopy(const QByteArray &bytes);

private:
    qsizetype m_heldBytesLimit;
    qsizetype m_heldBytes = 0;
    QHash<qsizetype, QByteArray> m_onlyOfSize; // the one playlist of its size so far
    QSet<qsizetype> m_repeatedSizes;
    QSet<QByteArray> m_held;
    QSet<QByteArray> m_digests;
};
