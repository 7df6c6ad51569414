#include "ui/RememberedSettings.h"

#include "app/IniFile.h"

#include <QStringList>

namespace {

const QString kSection = QStringLiteral("Player");

QString SettingsFile(const QString &appDataFolder)
{
    return appDataFolder + QStringLiteral("Settings.ini");
}

QString RectText(const QRect &rect)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(rect.x())
        .arg(rect.y())
        .arg(rect.width())
        .arg(rect.height());
}

QRect RectFrom(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) {
        return QRect();
    }
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toInt(&ok);
        if (!ok) {
            return QRect();
        }
    }
    const QRect rect(values[0], values[1], values[2], values[3]);
    return rect.width() > 0 && rect.height() > 0 ? rect : QRect();
}

} // namespace

RememberedSettings RememberedSettings::Load(const QString &appDataFolder)
{
    const IniFile file = IniFile::Load(SettingsFile(appDataFolder));
    RememberedSettings settings;
    bool ok = false;
    const int volume = file.Value(kSection, QStringLiteral("Volume"), QString()).toInt(&ok);
    if (ok && volume >= 0 && volume <= 100) {
        settings.volume = volume;
    }
    settings.muted = file.Value(kSection, QStringLiteral("Muted"), QString()) == QLatin1String("1");
    settings.playWholeList =
        file.Value(kSection, QStringLiteral("PlayWholeList"), QString()) == QLatin1String("1");
    settings.fileFolder = file.Value(kSection, QStringLiteral("FileFolder"), QString());
    settings.discFolder = file.Value(kSection, QStringLiteral("DiscFolder"), QString());
    settings.window = RectFrom(file.Value(kSection, QStringLiteral("Window"), QString()));
    return settings;
}

void RememberedSettings::Save(const QString &appDataFolder) const
{
    const QString path = SettingsFile(appDataFolder);
    const IniFile file = IniFile::Load(path);
    const std::pair<QString, QString> values[] = {
        {QStringLiteral("Volume"), QString::number(volume)},
        {QStringLiteral("Muted"), muted ? QStringLiteral("1") : QStringLiteral("0")},
        {QStringLiteral("PlayWholeList"),
         playWholeList ? QStringLiteral("1") : QStringLiteral("0")},
        {QStringLiteral("FileFolder"), fileFolder},
        {QStringLiteral("DiscFolder"), discFolder},
        {QStringLiteral("Window"), window.isValid() ? RectText(window) : QString()},
    };
    for (const auto &[key, value] : values) {
        // A line break would make a second line of the file: such a value is not kept.
        if (!value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')) &&
            file.Value(kSection, key, QString()) != value) {
            IniFile::WriteValue(path, kSection, key, value);
        }
    }
}
