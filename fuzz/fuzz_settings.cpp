// libFuzzer target: the remembered settings (the ini reader and the values read from it) on any
// bytes. Besides the sanitizers' findings, a volume out of range, an empty window taken as one,
// or an ini line that is empty, untrimmed or a comment counts as a crash.
#include "UserFile.h"

#include "app/IniFile.h"
#include "ui/RememberedSettings.h"

#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString file = WriteUserFile("Settings.ini", data, size);
    const RememberedSettings settings =
        RememberedSettings::Load(QFileInfo(file).path() + QLatin1Char('/'));
    if (settings.volume < 0 || settings.volume > 100 ||
        (!settings.window.isNull() && settings.window.isEmpty())) {
        std::abort();
    }
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const IniFile ini = IniFile::Parse(bytes);
    for (const IniFile::Section &section : ini.Sections()) {
        for (const QString &line : ini.SectionLines(section.name)) {
            if (line.isEmpty() || line != line.trimmed() || line.startsWith(QLatin1Char(';'))) {
                std::abort();
            }
        }
    }
    return 0;
}
