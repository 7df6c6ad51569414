#include "platform/EnginePath.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool HoldsControlCharacters(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

} // namespace

QString EnginePathFor(const QString &path, const QString &folder)
{
    return HoldsControlCharacters(path) ? EngineLinkTo(path, folder, kEngineLinkName) : path;
}

QString EngineLinkTo(const QString &path, const QString &folder, const char *name)
{
    // The extension stays when it is clean: the engine takes it as a hint of the format.
    const QString suffix = QFileInfo(path).suffix();
    const bool cleanSuffix =
        !suffix.isEmpty() && std::all_of(suffix.begin(), suffix.end(), [](QChar c) {
            return c.isLetterOrNumber() && c.unicode() < 0x80;
        });
    const QString link =
        folder + QLatin1String(name) + (cleanSuffix ? QLatin1Char('.') + suffix : QString());
    const QByteArray linkName = QFile::encodeName(link);
    // Only a link this program made earlier is replaced; anything else at that name stays.
    struct stat status;
    if (::lstat(linkName.constData(), &status) == 0 &&
        (!S_ISLNK(status.st_mode) || ::unlink(linkName.constData()) != 0)) {
        return QString();
    }
    if (::symlink(QFile::encodeName(path).constData(), linkName.constData()) != 0) {
        return QString();
    }
    return link;
}
