#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Narrow text is in the locale's 8-bit encoding: what the engine prints, what disc structures and
// the recent list hold, and what file names are made of on this system.
QString ToWide(const char *narrow);
QByteArray ToNarrow(const QString &wide);

// Text from outside (a file name, a disc's track names) as a menu entry shows it: an ampersand
// stays an ampersand rather than marking a shortcut letter, and a tab or line break, which
// would split the entry, shows as a blank.
QString MenuEntryText(const QString &outside);

// Text from outside as one line of at most maxLength characters: every control character and
// line or paragraph separator shows as a blank, and a longer text loses its middle, so that both its start and its end (a file's
// extension, a number) still show.
QString OneLineText(const QString &outside, int maxLength);

// Names from outside as a message lists them: the first `shown` ones, each on one line of at most
// kShownNameLength characters, then how many more there are, so that a long list never runs off
// the box.
QString NameList(const QStringList &names, int shown);

// Names from outside as the title bar and the notes on the picture show them, at most this many
// characters; the engine's notes do not wrap, so theirs stay short enough for a small picture.
inline constexpr int kShownNameLength = 60;
inline constexpr int kNoteNameLength = 24;
