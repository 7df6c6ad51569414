#include "common/DruiTestAccess.h"
#include "common/TestMain.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <memory>

namespace {

// Five hundred characters in words, so that wrapping has somewhere to break.
QString LongMessage()
{
    QString message;
    while (message.size() < 500) {
        message += QStringLiteral("The disc could not be read completely. ");
    }
    message.truncate(500);
    return message;
}

QLabel *LabelWithText(QWidget *root, const QString &text)
{
    const auto labels = root->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (label->text() == text) {
            return label;
        }
    }
    return nullptr;
}

QPushButton *OkButton(QWidget *root)
{
    const auto buttons = root->findChildren<QPushButton *>();
    for (QPushButton *button : buttons) {
        if (button->text() == GetText("MainWnd/OK")) {
            return button;
        }
    }
    return nullptr;
}

// Sends a mouse event the way the window system would deliver it to the box: local and global
// positions that agree with where the box is.
void SendMouse(QWidget *box, QEvent::Type type, const QPoint &local, Qt::MouseButton button,
               Qt::MouseButtons held)
{
    const QPointF global = box->mapToGlobal(QPointF(local));
    QMouseEvent event(type, QPointF(local), QPointF(local), global, button, held, Qt::NoModifier);
    QApplication::sendEvent(box, &event);
}

} // namespace

class MessageBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void keepsItsWidthAndShowsALongMessageWhole();
    void titleStripSaysInformation();
    void eachMessageSaysItsKind_data();
    void eachMessageSaysItsKind();
    void okClosesWithResultZero();
    void otherWaysOfClosingAreNotOk_data();
    void otherWaysOfClosingAreNotOk();
    void leftDragMovesTheBoxByTheDragDistance_data();
    void leftDragMovesTheBoxByTheDragDistance();
    void dragWithoutTheLeftButtonDoesNotMove_data();
    void dragWithoutTheLeftButtonDoesNotMove();

private:
    std::unique_ptr<CMessageBox> m_box;
};

void MessageBoxTest::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
    QCOMPARE(CLanguageManager::Instance().GetCurrentLanguage(), QStringLiteral("/English"));
}

void MessageBoxTest::init()
{
    m_box = std::make_unique<CMessageBox>();
    m_box->Show(MessageKind::Information, LongMessage());
    m_box->move(300, 200);
    m_box->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
}

void MessageBoxTest::cleanup()
{
    m_box.reset();
}

void MessageBoxTest::keepsItsWidthAndShowsALongMessageWhole()
{
    QLabel *message = MessageBoxTestAccess::MessageLabel(*m_box);
    QVERIFY(message != nullptr);
    QCOMPARE(message->text(), LongMessage());
    QVERIFY(message->wordWrap());
    QVERIFY(message->isVisible());
    QCoreApplication::processEvents();
    QCOMPARE(m_box->width(), 400);
    // The wrapped text keeps off the box's right edge, and none of it is cut off below.
    QVERIFY(message->geometry().right() <= 400 - 16);
    QVERIFY(message->height() >= message->heightForWidth(message->width()));
}

void MessageBoxTest::titleStripSaysInformation()
{
    const QString expected = QStringLiteral("  ") + GetText("Messages/MSG0403");
    QCOMPARE(expected, QStringLiteral("  Information"));
    QLabel *title = LabelWithText(m_box.get(), expected);
    QVERIFY(title != nullptr);
    QVERIFY(title->isVisible());
    // The strip is the top of the box, above the message.
    const QPoint titleCorner = title->mapTo(m_box.get(), QPoint(0, 0));
    QLabel *message = MessageBoxTestAccess::MessageLabel(*m_box);
    QVERIFY(titleCorner.y() < message->mapTo(m_box.get(), QPoint(0, 0)).y());
}

// Failures are errors, refused choices warnings, and the rest information.
void MessageBoxTest::eachMessageSaysItsKind_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QString>("title");
    QTest::newRow("not a disc") << QByteArray("Messages/MSG0102") << QStringLiteral("  Warning");
    QTest::newRow("title not offered")
        << QByteArray("Messages/MSG0505") << QStringLiteral("  Warning");
    QTest::newRow("entries left out")
        << QByteArray("Messages/MSG0511") << QStringLiteral("  Warning");
    QTest::newRow("engine missing") << QByteArray("Messages/MSG0501") << QStringLiteral("  Error");
    QTest::newRow("could not play") << QByteArray("Messages/MSG0503") << QStringLiteral("  Error");
    QTest::newRow("could not save") << QByteArray("Messages/MSG0510") << QStringLiteral("  Error");
    QTest::newRow("anything else")
        << QByteArray("Messages/MSG0403") << QStringLiteral("  Information");
}

void MessageBoxTest::eachMessageSaysItsKind()
{
    QFETCH(QByteArray, key);
    QFETCH(QString, title);
    CMessageBox box;
    box.Show(KindOfMessage(key.constData()), GetText(key.constData()));
    QVERIFY(LabelWithText(&box, title) != nullptr);
}

void MessageBoxTest::okClosesWithResultZero()
{
    QCOMPARE(m_box->Result(), 1);
    QPushButton *ok = OkButton(m_box.get());
    QVERIFY(ok != nullptr);
    QVERIFY(ok->isVisible());
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(m_box->Result(), 0);
    QTRY_VERIFY(!m_box->isVisible());
}

void MessageBoxTest::otherWaysOfClosingAreNotOk_data()
{
    QTest::addColumn<QString>("how");

    QTest::newRow("right click") << QStringLiteral("right");
    QTest::newRow("Escape") << QStringLiteral("escape");
}

void MessageBoxTest::otherWaysOfClosingAreNotOk()
{
    QFETCH(QString, how);

    if (how == QLatin1String("right")) {
        QTest::mousePress(m_box.get(), Qt::RightButton, Qt::NoModifier, QPoint(200, 100));
    } else {
        QTest::keyClick(m_box.get(), Qt::Key_Escape);
    }
    QTRY_VERIFY(!m_box->isVisible());
    QCOMPARE(m_box->Result(), 1);
}

void MessageBoxTest::leftDragMovesTheBoxByTheDragDistance_data()
{
    QTest::addColumn<QPoint>("grab");
    QTest::addColumn<QList<QPoint>>("steps");

    QTest::newRow("on the title strip, right and down")
        << QPoint(50, 8) << QList<QPoint>{QPoint(40, 30)};
    QTest::newRow("on the message, left and up")
        << QPoint(200, 90) << QList<QPoint>{QPoint(-120, -75)};
    QTest::newRow("several moves add up")
        << QPoint(10, 170) << QList<QPoint>{QPoint(5, 5), QPoint(20, -3), QPoint(-60, 41)};
}

void MessageBoxTest::leftDragMovesTheBoxByTheDragDistance()
{
    QFETCH(QPoint, grab);
    QFETCH(QList<QPoint>, steps);

    const QPoint start = m_box->pos();
    SendMouse(m_box.get(), QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
    QVERIFY(m_box->isVisible());
    QCOMPARE(m_box->pos(), start);

    // Each move reports the pointer one step away from the grab point on the box, which has
    // followed the previous steps already.
    QPoint total;
    for (const QPoint &step : steps) {
        total += step;
        const QPointF global = QPointF(start + grab + total);
        const QPointF local = QPointF(grab + step);
        QMouseEvent move(QEvent::MouseMove, local, local, global, Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(m_box.get(), &move);
        QTRY_COMPARE(m_box->pos(), start + total);
    }
    SendMouse(m_box.get(), QEvent::MouseButtonRelease, grab, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(m_box->pos(), start + total);
    QVERIFY(m_box->isVisible());
}

void MessageBoxTest::dragWithoutTheLeftButtonDoesNotMove_data()
{
    QTest::addColumn<int>("held");

    QTest::newRow("right button held") << int(Qt::RightButton);
    QTest::newRow("no button held") << int(Qt::NoButton);
    QTest::newRow("middle button held") << int(Qt::MiddleButton);
}

void MessageBoxTest::dragWithoutTheLeftButtonDoesNotMove()
{
    QFETCH(int, held);

    const QPoint start = m_box->pos();
    // A left press first, so that a stored grab point exists and a wrong move would show.
    SendMouse(m_box.get(), QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton,
              Qt::LeftButton);
    SendMouse(m_box.get(), QEvent::MouseButtonRelease, QPoint(100, 100), Qt::LeftButton,
              Qt::NoButton);

    const QPointF global = QPointF(start + QPoint(100, 100) + QPoint(70, 45));
    QMouseEvent move(QEvent::MouseMove, QPointF(170, 145), QPointF(170, 145), global, Qt::NoButton,
                     Qt::MouseButtons(held), Qt::NoModifier);
    QApplication::sendEvent(m_box.get(), &move);
    QCoreApplication::processEvents();
    QTest::qWait(50);
    QCOMPARE(m_box->pos(), start);
}

TAVRIX_WIDGET_TEST_MAIN(MessageBoxTest)
#include "MessageBoxTest.moc"
