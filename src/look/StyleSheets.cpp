#include "look/StyleSheets.h"

#include <QStringList>

namespace {

const QString kEightTabsThreeSpaces = QStringLiteral("\t\t\t\t\t\t\t\t   ");
const QString kElevenTabs = QString(11, QLatin1Char('\t'));

const QStringList kSliderPieces = {
    QStringLiteral("QSlider::groove:horizontal{border: 1px solid #4A708B;background: "
                   "#C0C0C0;height: 5px;border-radius: 1px;padding-left:-1px;padding-right:-1px;}"
                   "QSlider::sub-page:horizontal{background: qlineargradient(x1:0, y1:0, x2:0, "
                   "y2:1,stop:0 #B1B1B1, stop:1 #c4c4c4);"),
    QStringLiteral("background: qlineargradient(x1: 0, y1: 0.2, x2: 1, y2: 1,stop: 0 #5DCCFF, "
                   "stop: 1 #1874CD);border: 1px solid #4A708B;height: 10px;border-radius: 2px;}"
                   "QSlider::add-page:horizontal{background: #575757;border: 0px solid "
                   "#777;height: 10px;border-radius: 2px;}"),
    QStringLiteral("QSlider::handle:horizontal{background: qradialgradient(spread:pad, cx:0.5, "
                   "cy:0.5, radius:0.5, fx:0.5, fy:0.5,stop:0.6 #45ADED, stop:0.778409 rgba(255, "
                   "255, 255, 255));width: 11px;margin-top: -3px;margin-bottom: "
                   "-3px;border-radius: 5px;}"),
    QStringLiteral("QSlider::handle:horizontal:hover{background: qradialgradient(spread:pad, "
                   "cx:0.5, cy:0.5, radius:0.5, fx:0.5, fy:0.5, stop:0.6 #2A8BDA,stop:0.778409 "
                   "rgba(255, 255, 255, 255));width: 11px;margin-top: -3px;margin-bottom: "
                   "-3px;border-radius: 5px;}"),
};

// A dialog button: its colours, the pieces of its rules joined by eight tabs and three spaces.
QString DialogButton(const QString &background, const QString &shape, const QString &border)
{
    return QStringList{
        QStringLiteral("QPushButton{background-color:") + background + QLatin1Char(';'),
        shape + QStringLiteral(" border: ") + border + QLatin1Char(';'),
        QStringLiteral("border-style: outset;}QPushButton:hover{background-color:rgb(156, 156, "
                       "156); }QPushButton:pressed{background-color:rgb(156, 156, 156);border: ") +
            border + QLatin1Char(';'),
        QStringLiteral("border-style: inset; }")}
        .join(kEightTabsThreeSpaces);
}

} // namespace

namespace StyleSheets {

QString CentralBackground()
{
    return QStringLiteral("background-color:qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:1, "
                          "stop:0 #020407,stop:0.5 #151c26 ,stop:1 #283345)");
}

QString MenuStrip()
{
    return QStringLiteral("background-color: rgb(239, 242, 249);");
}

QString StartPageButton()
{
    return QStringLiteral("QPushButton{background-color:rgb(20, 50, 70);") + kEightTabsThreeSpaces +
           QStringLiteral("color: white; border-radius: 15px; border: 3px groove SlateGrey;") +
           kEightTabsThreeSpaces +
           QStringLiteral("border-style: solid;}QPushButton:hover{background-color:rgb(") +
           QLatin1Char('\t') +
           QStringLiteral("156, 156, 156); }QPushButton:pressed{background-color:rgb(156, 156, "
                          "156);border: 3px groove SlateGrey;") +
           kEightTabsThreeSpaces + QStringLiteral("border-style: solid; }");
}

QString MenuButton()
{
    return QStringLiteral("QPushButton{") + kElevenTabs +
           QStringLiteral("border-style: outset; text-align: center;}QPushButton:hover{border: "
                          "1px groove rgb(153, 157, 169);}QPushButton:pressed{border: 1px groove "
                          "rgb(153, 157, 169);") +
           kElevenTabs + QStringLiteral("border-style: inset; }") + kElevenTabs +
           QStringLiteral("QPushButton::menu-indicator{image:None;}");
}

QString PopupMenu()
{
    return QStringLiteral("QMenu{background:rgba(255, 255, 255, 255);color: black;}"
                          "QMenu::item:selected {background-color: rgba(0, 0, 0,30);}");
}

QString DiscMenu()
{
    return QStringLiteral("QMenu{background:rgba(0, 0, 0, 80);color: white;}"
                          "QMenu::item:selected {background-color: rgba(0, 0, 0,120);}");
}

QString SeekSlider()
{
    return kSliderPieces.join(kEightTabsThreeSpaces) + kEightTabsThreeSpaces +
           QStringLiteral("QSlider{background-color:rgb(0,0,0)};");
}

QString VolumeSlider()
{
    return kSliderPieces.join(kEightTabsThreeSpaces) + kEightTabsThreeSpaces;
}

QString TimeLabel()
{
    return QStringLiteral("background-color: rgb(0, 0, 0);");
}

QString ButtonRow()
{
    return QStringLiteral("background-color: rgb(205, 201, 201);");
}

QString FileNameBox()
{
    return QStringLiteral("min-width: 200px; min-height: 50px;max-width:200px; max-height: "
                          "50px;border-radius: 20px;  border:2px solid grey;background-color:rgb("
                          "156, 156, 156)");
}

QString Transparent()
{
    return QStringLiteral("background:transparent");
}

QString PlayListTable()
{
    // White text also for the rows' tooltips, which take the window's dark background.
    return QStringLiteral("border:1px solid rgb(0, 0, 0);color:white;");
}

QString DialogTitleBar()
{
    return QStringLiteral("background-color: rgb(69, 78, 93);");
}

QString MessageBoxOkButton()
{
    return DialogButton(QStringLiteral("rgb(191, 191, 191)"),
                        QStringLiteral("border-radius: 10px;"), QStringLiteral("2px groove white"));
}

QString DialogTextButton()
{
    return DialogButton(QStringLiteral("rgb(48, 81, 109)"),
                        QStringLiteral("color: white; border-radius: 5px;"),
                        QStringLiteral("2px groove white"));
}

} // namespace StyleSheets
