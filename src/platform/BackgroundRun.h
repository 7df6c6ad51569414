#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QProcess;
class QTimer;

// What a background run keeps of a program's standard output. The engine's title list, its one
// use, is a few lines per title; a megabyte holds thousands of titles.
inline constexpr qsizetype kBackgroundRunOutputLimit = 1024 * 1024;

// Runs a helper program in the background, in a process group of its own that ends with the
// player, and says once what it wrote on standard output, up to kBackgroundRunOutputLimit bytes.
// Nothing waits for it: the window goes on answering meanwhile.
class BackgroundRun : public QObject
{
    Q_OBJECT

public:
    BackgroundRun(const QString &program, const QStringList &arguments, int timeLimitMs,
                  QObject *parent = nullptr);
    // Ends the program and its group at once; Finished does not follow.
    ~BackgroundRun() override;

signals:
    // completed: the program ended by itself in time; otherwise it could not start, crashed or
    // ran past the time limit and was ended, and the output counts for nothing.
    void Finished(bool completed, const QByteArray &output);

private:
    void Report(bool completed);

    std::unique_ptr<QProcess> m_process;
    std::shared_ptr<const QByteArray> m_output;
    QTimer *m_limit = nullptr;
    bool m_reported = false;
};
