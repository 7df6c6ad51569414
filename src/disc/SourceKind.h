#pragma once

#include <QtGlobal>

// Kinds of source, as kept in the playback state and in each play list entry.
enum SourceKind : qint32
{
    kSourceFile = 0,
    kSourceDvd = 1,
    kSourceBluRay = 2,
};
