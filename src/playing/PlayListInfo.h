#pragma once

#include "disc/SourceKind.h"

#include <QMetaType>
#include <QString>
#include <QtGlobal>

// One play list entry; also the data of the title menu entries, where strPath holds a title key.
struct PLAY_LIST_INFO
{
    qint32 nType = kSourceFile;
    qint64 nReserved = 0; // always 0; kept for the entry's layout
    QString strPath;      // file, DVD folder or Blu-ray disc folder (title key in title menus)
    QString strDuration;  // clock text; empty for DVD folders
};

Q_DECLARE_METATYPE(PLAY_LIST_INFO)
