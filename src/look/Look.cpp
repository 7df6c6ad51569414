#include "look/Look.h"

#include <QPixmap>
#include <QPushButton>

#include <mutex>

void LoadImageResources()
{
    static std::once_flag loaded;
    std::call_once(loaded, [] { Q_INIT_RESOURCE(images); });
}

QFont CalibriFont(int pointSize, bool bold)
{
    QFont font(QStringLiteral("Calibri"), pointSize, bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    return font;
}

QPalette WhiteTextPalette()
{
    QPalette palette;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::WindowText, Qt::white);
    }
    return palette;
}

QPushButton *PictureButton(const char *imagePath, QWidget *parent)
{
    const QPixmap picture(QString::fromLatin1(imagePath));
    auto *button = new QPushButton(parent);
    button->setIcon(QIcon(picture));
    button->setIconSize(picture.size());
    button->setFixedSize(picture.size());
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}
