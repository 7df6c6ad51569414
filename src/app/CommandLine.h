#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line. Bare arguments are ignored; "--open"
// takes every argument after it as a path to open (what the desktop hands over); "--help" shows
// the usage; any other option is refused with the usage.
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
