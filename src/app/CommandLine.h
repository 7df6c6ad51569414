#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line. A bare argument is a path to open;
// "--open" and "--" take every argument after them as a path (what the desktop hands over);
// "--help" shows the usage; any other option is refused with the usage.
struct CommandLine
{
    enum class Action
    {
        Run,
        ShowUsage,
        RefuseWithUsage,
    };

    Action action = Action::Run;
    QStringList paths; // absolute, in the order given

    // The arguments without the program's own name, as Qt leaves them once it took its options.
    static CommandLine Parse(const QStringList &arguments, const QString &currentFolder);
    static QString Usage();
};
