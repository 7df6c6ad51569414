#pragma once

#include "common/DruiTestAccess.h"
#include "common/EngineDouble.h"
#include "common/Owners.h"
#include "util/TimeText.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStackedLayout>
#include <QTest>

#include <memory>

// The window driven against the scripted engine double, made fresh for each test function, and
// the ways the tests send it a source and read back what the engine was told.
class WindowWithEngine
{
protected:
    std::unique_ptr<EngineDouble> m_engine;
    std::unique_ptr<DRUI> m_window;
    int m_marks = 0;

    DRUI &Window() { return *m_window; }

    // Each test function starts from a new engine double and window (call from init()).
    void MakeEngineAndWindow(double engineLength = 60)
    {
        m_engine = std::make_unique<EngineDouble>();
        m_engine->SetLength(engineLength);
        m_window = std::make_unique<DRUI>();
        m_window->SetUpWindow();
    }

    // The window goes first: closing it ends its engine, which logs into the double's folder.
    void DropWindowAndEngine()
    {
        m_window.reset();
        m_engine.reset();
    }

    // Plays the path as a play list row does; a file of a known length is not measured first.
    void Play(const QString &path, int kind = kSourceFile, qint64 lengthSec = 0)
    {
        PLAY_LIST_INFO entry;
        entry.nType = kind;
        entry.strPath = path;
        entry.strDuration = lengthSec > 0 ? FormatTime(lengthSec) : QString();
        Owners::Plays(Window()).PlayEntry(entry);
        QTRY_VERIFY(!Owners::Plays(Window()).WaitsForAFirstDuration());
    }

    // Waits until the engine has logged this command.
    void WaitForCommand(const QString &command)
    {
        QTRY_VERIFY_WITH_TIMEOUT(m_engine->Commands().contains(command), 5000);
    }

    // Every command sent before this call has reached the engine once a mark sent behind it
    // has: the pipe keeps the order.
    void Sync()
    {
        const QString mark = QStringLiteral("mark %1").arg(++m_marks);
        QVERIFY(Owners::Session(Window()).Send("%s\n", qPrintable(mark)));
        QTRY_VERIFY_WITH_TIMEOUT(m_engine->Lines().contains(mark), 5000);
    }

    // The commands the engine received that match the pattern, in order.
    QStringList Matching(const QString &pattern) const
    {
        return m_engine->Commands().filter(QRegularExpression(pattern));
    }

    // The seeks the engine received, in order.
    QStringList Seeks() const { return Matching(QStringLiteral("^seek ")); }

    // The arguments of the last engine start, as the double logged them ("ARGS ...").
    QString LastArgs() const
    {
        const QStringList starts =
            m_engine->Lines().filter(QRegularExpression(QStringLiteral("^ARGS ")));
        return starts.isEmpty() ? QString() : starts.last();
    }

    // Which page the window shows.
    int Page() { return DruiTestAccess::PageStack(Window())->currentIndex(); }

    // A folder shaped like a DVD: no real media, the engine double plays anything.
    QString DvdFolder(const QString &name = QStringLiteral("MY_DVD"))
    {
        const QString folder =
            QFileInfo(m_engine->LogPath()).absolutePath() + QLatin1Char('/') + name;
        QDir().mkpath(folder + QStringLiteral("/VIDEO_TS"));
        QFile(folder + QStringLiteral("/VIDEO_TS/VIDEO_TS.IFO")).open(QIODevice::WriteOnly);
        return folder;
    }
};
