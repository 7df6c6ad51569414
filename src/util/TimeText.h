#pragma once

#include <QString>
#include <QtGlobal>

// Clock text of hours, minutes and seconds, two digits each at least ("00:03:07").
QString FormatTime(qint64 seconds);

// Reads clock text back into seconds. Fields are read like C's atoi, so "01:30" is an hour and
// a half and a fractional part of the seconds is dropped. Never fails: missing fields count 0.
qint64 ParseTime(const char *text);

// Whole seconds of a count of milliseconds (truncated), kept within what an int holds: times
// read from a disc can be larger than any real film.
int WholeSeconds(qint64 milliseconds);
// A count of seconds kept within what an int holds, for sliders and engine commands.
int SecondsAsInt(qint64 seconds);
