#pragma once

#include <QByteArray>
#include <QString>

// The disc's own name and thumbnail file name, from its English metadata file
// (BDMV/META/DL/bdmt_eng.xml). Both are narrow text; empty when not found.
struct DiscMetadata
{
    QByteArray name;
    QByteArray thumbnail;
};

// The longest name or thumbnail file name that is kept; a longer one leaves the previous value.
inline constexpr int kMaxDiscMetadataText = 255;

// Reads the metadata line by line (lines longer than 2047 characters count as several lines).
// The last line naming each wins; a line with both markers counts for the name only.
DiscMetadata ParseDiscMetadata(const QByteArray &contents);

// The same for a file; a file that cannot be read gives empty texts.
DiscMetadata ReadDiscMetadata(const QString &path);

// The SHA-512 digest of a file's content as 128 upper-case hexadecimal digits.
enum class HashResult
{
    kOk = 0,
    kCannotOpenOrEmpty = 87, // the text is left as it was
    kIncompleteRead = 30,    // the text becomes 128 zeros
};
HashResult HashFileHex(const QString &path, QByteArray &hex);
