// The style sheets carry runs of tabs and spaces where their pieces were joined; the look is
// only right when every run stands exactly where it belongs.
#include "common/TestMain.h"

#include "look/StyleSheets.h"

namespace {

const QString kRun = QStringLiteral("\t\t\t\t\t\t\t\t   ");
const QString kElevenTabs = QString(11, QLatin1Char('\t'));

QString SliderPieces()
{
    return QStringLiteral(
               "QSlider::groove:horizontal{border: 1px solid #4A708B;background: #C0C0C0;height: "
               "5px;border-radius: 1px;padding-left:-1px;padding-right:-1px;}QSlider::sub-page:"
               "horizontal{background: qlineargradient(x1:0, y1:0, x2:0, y2:1,stop:0 #B1B1B1, "
               "stop:1 #c4c4c4);") +
           kRun +
           QStringLiteral("background: qlineargradient(x1: 0, y1: 0.2, x2: 1, y2: 1,stop: 0 "
                          "#5DCCFF, stop: 1 #1874CD);border: 1px solid #4A708B;height: "
                          "10px;border-radius: 2px;}QSlider::add-page:horizontal{background: "
                          "#575757;border: 0px solid #777;height: 10px;border-radius: 2px;}") +
           kRun +
           QStringLiteral("QSlider::handle:horizontal{background: qradialgradient(spread:pad, "
                          "cx:0.5, cy:0.5, radius:0.5, fx:0.5, fy:0.5,stop:0.6 #45ADED, "
                          "stop:0.778409 rgba(255, 255, 255, 255));width: 11px;margin-top: "
                          "-3px;margin-bottom: -3px;border-radius: 5px;}") +
           kRun +
           QStringLiteral("QSlider::handle:horizontal:hover{background: "
                          "qradialgradient(spread:pad, cx:0.5, cy:0.5, radius:0.5, fx:0.5, "
                          "fy:0.5, stop:0.6 #2A8BDA,stop:0.778409 rgba(255, 255, 255, "
                          "255));width: 11px;margin-top: -3px;margin-bottom: -3px;border-radius: "
                          "5px;}") +
           kRun;
}

} // namespace

class StyleSheetsTest : public QObject
{
    Q_OBJECT

private slots:
    void sheetsAreExact_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");

        QTest::newRow("start page button")
            << StyleSheets::StartPageButton()
            << QStringLiteral("QPushButton{background-color:rgb(20, 50, 70);") + kRun +
                   QStringLiteral("color: white; border-radius: 15px; border: 3px groove "
                                  "SlateGrey;") +
                   kRun +
                   QStringLiteral("border-style: solid;}QPushButton:hover{background-color:rgb(") +
                   QStringLiteral("\t") +
                   QStringLiteral("156, 156, 156); }QPushButton:pressed{background-color:rgb(156, "
                                  "156, 156);border: 3px groove SlateGrey;") +
                   kRun + QStringLiteral("border-style: solid; }");
        QTest::newRow("menu button")
            << StyleSheets::MenuButton()
            << QStringLiteral("QPushButton{") + kElevenTabs +
                   QStringLiteral("border-style: outset; text-align: center;}QPushButton:hover{"
                                  "border: 1px groove rgb(153, 157, 169);}QPushButton:pressed{"
                                  "border: 1px groove rgb(153, 157, 169);") +
                   kElevenTabs + QStringLiteral("border-style: inset; }") + kElevenTabs +
                   QStringLiteral("QPushButton::menu-indicator{image:None;}");
        QTest::newRow("seek slider")
            << StyleSheets::SeekSlider()
            << SliderPieces() + QStringLiteral("QSlider{background-color:rgb(0,0,0)};");
        QTest::newRow("volume slider") << StyleSheets::VolumeSlider() << SliderPieces();
        QTest::newRow("message box OK")
            << StyleSheets::MessageBoxOkButton()
            << QStringLiteral("QPushButton{background-color:rgb(191, 191, 191);") + kRun +
                   QStringLiteral("border-radius: 10px; border: 2px groove white;") + kRun +
                   QStringLiteral("border-style: outset;}QPushButton:hover{background-color:rgb("
                                  "156, 156, 156); }QPushButton:pressed{background-color:rgb(156, "
                                  "156, 156);border: 2px groove white;") +
                   kRun + QStringLiteral("border-style: inset; }");
        QTest::newRow("preferences text button")
            << StyleSheets::DialogTextButton()
            << QStringLiteral("QPushButton{background-color:rgb(48, 81, 109);") + kRun +
                   QStringLiteral("color: white; border-radius: 5px; border: 2px groove white;") +
                   kRun +
                   QStringLiteral("border-style: outset;}QPushButton:hover{background-color:rgb("
                                  "156, 156, 156); }QPushButton:pressed{background-color:rgb(156, "
                                  "156, 156);border: 2px groove white;") +
                   kRun + QStringLiteral("border-style: inset; }");
        QTest::newRow("file name box")
            << StyleSheets::FileNameBox()
            << QStringLiteral("min-width: 200px; min-height: 50px;max-width:200px; max-height: "
                              "50px;border-radius: 20px;  border:2px solid grey;"
                              "background-color:rgb(156, 156, 156)");
    }

    void sheetsAreExact()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }
};

TAVRIX_CORE_TEST_MAIN(StyleSheetsTest)
#include "StyleSheetsTest.moc"
