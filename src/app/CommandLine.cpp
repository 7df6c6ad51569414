#include "app/CommandLine.h"

#include <QDir>

CommandLine CommandLine::Parse(const QStringList &arguments, const QString &currentFolder)
{
    CommandLine command;
    const QDir base(currentFolder);
    bool opening = false;
    for (const QString &argument : arguments) {
        if (opening || !argument.startsWith(QLatin1Char('-'))) {
            // Whatever follows "--open" or "--" is a path, even one that starts with a dash.
            if (!argument.isEmpty()) {
                command.paths.append(base.absoluteFilePath(argument));
            }
        } else if (argument == QLatin1String("--open") || argument == QLatin1String("--")) {
            opening = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            command.action = Action::ShowUsage;
        } else if (argument.startsWith(QLatin1Char('-'))) {
            command.action = Action::RefuseWithUsage;
            break;
        }
    }
    if (command.action != Action::Run) {
        command.paths.clear();
    }
    return command;
}

QString CommandLine::Usage()
{
    return QStringLiteral(
        "usage: tavrix-bluray-player [PATH...] [--open PATH...]\n"
        "  PATH...         open these files, or one Blu-ray or DVD folder; when the player runs\n"
        "                  already, it opens them in its window\n"
        "  --open PATH...  the same; every argument after it is a path, as after \"--\"\n"
        "  --help          show this text\n");
}
