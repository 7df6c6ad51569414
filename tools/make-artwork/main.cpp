// Draws the player's artwork with QPainter and writes it, together with the
// resource collection file images.qrc, into the folder given as argument. With
// --icons it writes the application icon for the desktop's icon theme instead.
//
// Usage: make-artwork OUTPUT_DIR
//        make-artwork --icons FOLDER

#include "painting.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QList>
#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <cstdio>

using namespace artwork;

namespace {

// Qt's ICO writer leaves the padding at the end of each transparency-mask row
// uninitialised; zero it so repeated runs produce identical files.
void clearMaskPadding(QByteArray &bitmap)
{
    if (bitmap.size() < 40 || qFromLittleEndian<quint16>(bitmap.constData() + 14) != 32)
        return;
    const qint32 width = qFromLittleEndian<qint32>(bitmap.constData() + 4);
    const qint32 height = qFromLittleEndian<qint32>(bitmap.constData() + 8) / 2;
    const qint32 stride = (width + 31) / 32 * 4;
    const qint32 used = (width + 7) / 8;
    const qint64 mask = qFromLittleEndian<quint32>(bitmap.constData()) + qint64(width) * height * 4;
    if (mask + qint64(stride) * height != bitmap.size())
        return;
    for (qint32 row = 0; row < height; ++row)
        std::fill_n(bitmap.data() + mask + row * stride + used, stride - used, '\0');
}

// Qt's ICO writer stores one image per file, so each size is encoded on its
// own and the single-image files are merged into one multi-size container.
QByteArray multiSizeIco(const QList<QImage> &images)
{
    QList<QByteArray> entries;
    QList<QByteArray> payloads;
    for (const QImage &image : images) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "ico");
        if (!writer.write(image))
            return {};
        const QByteArray one = buffer.data();
        if (one.size() < 22 || qFromLittleEndian<quint16>(one.constData() + 4) != 1)
            return {};
        const quint32 length = qFromLittleEndian<quint32>(one.constData() + 14);
        const quint32 offset = qFromLittleEndian<quint32>(one.constData() + 18);
        if (qint64(offset) + length > one.size())
            return {};
        entries.append(one.mid(6, 16));
        QByteArray bitmap = one.mid(offset, length);
        clearMaskPadding(bitmap);
        payloads.append(bitmap);
    }
    QByteArray out(6, '\0');
    qToLittleEndian<quint16>(1, out.data() + 2);
    qToLittleEndian<quint16>(quint16(images.size()), out.data() + 4);
    quint32 offset = quint32(6 + 16 * entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        QByteArray entry = entries.at(i);
        qToLittleEndian<quint32>(offset, entry.data() + 12);
        out.append(entry);
        offset += quint32(payloads.at(i).size());
    }
    for (const QByteArray &payload : payloads)
        out.append(payload);
    return out;
}

class Output
{
public:
    explicit Output(const QString &path) : m_dir(path) {}

    void saveImage(const QString &name, const QImage &image, const char *format = nullptr,
                   int quality = -1)
    {
        m_names.append(name);
        if (!image.save(m_dir.filePath(name), format, quality))
            fail(name);
    }

    void saveData(const QString &name, const QByteArray &data)
    {
        m_names.append(name);
        QFile file(m_dir.filePath(name));
        if (data.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            fail(name);
    }

    void saveResourceList()
    {
        QByteArray qrc = "<RCC>\n    <qresource prefix=\"/image\">\n";
        for (const QString &name : m_names)
            qrc += "        <file>" + name.toUtf8() + "</file>\n";
        qrc += "    </qresource>\n</RCC>\n";
        QFile file(m_dir.filePath(QStringLiteral("images.qrc")));
        if (!file.open(QIODevice::WriteOnly) || file.write(qrc) != qrc.size())
            fail(QStringLiteral("images.qrc"));
    }

    bool ok() const { return m_ok; }

private:
    void fail(const QString &name)
    {
        std::fprintf(stderr, "make-artwork: could not write %s\n",
                     qPrintable(QDir::toNativeSeparators(m_dir.filePath(name))));
        m_ok = false;
    }

    QDir m_dir;
    QStringList m_names;
    bool m_ok = true;
};

// The window's logo, as FOLDER/hicolor/NxN/apps/org.tavrix.BluRayPlayer.png in the
// sizes that desktops look up in the hicolor theme.
bool writeIcons(const QString &folder)
{
    bool ok = true;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString side = QString::number(size);
        const QString dir = folder + QStringLiteral("/hicolor/") + side + QLatin1Char('x') + side +
                            QStringLiteral("/apps");
        const QString path = dir + QStringLiteral("/org.tavrix.BluRayPlayer.png");
        if (!QDir().mkpath(dir) || !logoImage(size).save(path, "PNG")) {
            std::fprintf(stderr, "make-artwork: could not write %s\n", qPrintable(path));
            ok = false;
        }
    }
    return ok;
}

int writeArtwork(const QString &outDir)
{
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "make-artwork: could not create folder %s\n", qPrintable(outDir));
        return 1;
    }
    Output out(outDir);
    out.saveData(QStringLiteral("logo.ico"),
                 multiSizeIco({logoImage(16), logoImage(32), logoImage(48), logoImage(128)}));
    out.saveImage(QStringLiteral("bg.jpg"), backgroundImage(), "JPG", 85);
    out.saveImage(QStringLiteral("MoviesFolder.png"), folderImage());
    out.saveImage(QStringLiteral("disc.png"), discImage());

    out.saveImage(QStringLiteral("play.png"), buttonImage(Button::Play));
    out.saveImage(QStringLiteral("pause.png"), buttonImage(Button::Pause));
    out.saveImage(QStringLiteral("stop.png"), buttonImage(Button::Stop));
    out.saveImage(QStringLiteral("pre.png"), buttonImage(Button::Previous));
    out.saveImage(QStringLiteral("next.png"), buttonImage(Button::Next));

    out.saveImage(QStringLiteral("volume.png"), speakerImage(false));
    out.saveImage(QStringLiteral("no-volume.png"), speakerImage(true));
    out.saveImage(QStringLiteral("fullscreen.png"), fullscreenImage());
    out.saveImage(QStringLiteral("playstatus.png"), playStatusImage());
    out.saveImage(QStringLiteral("information.png"), informationImage());
    out.saveImage(QStringLiteral("min.png"), titleButtonImage(false));
    out.saveImage(QStringLiteral("close.png"), titleButtonImage(true));
    out.saveImage(QStringLiteral("dot.png"), dotImage());
    out.saveResourceList();

    return out.ok() ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QGuiApplication::arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--icons") && !args.at(2).isEmpty())
        return writeIcons(args.at(2)) ? 0 : 1;
    if (args.size() == 2 && !args.at(1).startsWith(QLatin1Char('-')))
        return writeArtwork(args.at(1));
    std::fprintf(stderr, "usage: make-artwork OUTPUT_DIR\n"
                         "       make-artwork --icons FOLDER\n");
    return 2;
}
