// The preferences dialog: the snapshot folder it shows and keeps in OutputPath.txt, the image
// formats it offers, OK against Cancel and the close button, browsing for a folder, dragging
// the dialog, and the window's Tools → Preferences taking the chosen format and keeping the
// play list choice.
#include "common/DruiTestAccess.h"
#include "common/Owners.h"
#include "common/ModalCloser.h"
#include "common/TestMain.h"

#include "app/LanguageManager.h"
#include "engine/Snapshots.h"
#include "platform/AppDataFolder.h"
#include "ui/RememberedSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace {

QString OutputPathFile()
{
    return AppDataFolder() + QStringLiteral("OutputPath.txt");
}

bool WriteAll(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(contents) == contents.size();
}

// The file's bytes, or nothing at all (not even empty) when there is no file.
std::optional<QByteArray> Contents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.readAll();
}

QPushButton *ButtonWithText(QWidget *root, const char *textKey)
{
    const QString text = GetText(textKey);
    for (QPushButton *button : root->findChildren<QPushButton *>()) {
        if (!text.isEmpty() && button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

// The title bar's close button: the rightmost of the picture buttons without text.
QPushButton *CloseButton(QWidget *root)
{
    QPushButton *rightmost = nullptr;
    for (QPushButton *button : root->findChildren<QPushButton *>()) {
        if (button->text().isEmpty() &&
            (rightmost == nullptr ||
             button->mapTo(root, QPoint()).x() > rightmost->mapTo(root, QPoint()).x())) {
            rightmost = button;
        }
    }
    return rightmost;
}

} // namespace

class PreferencesTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_scratch;

    // The dialog as the window makes it.
    std::unique_ptr<CProcessUI> NewDialog(int formatIndex)
    {
        auto dialog = std::make_unique<CProcessUI>();
        dialog->m_nFormatIndex = formatIndex;
        dialog->BuildContent();
        return dialog;
    }

    QAction *PreferencesEntry(DRUI &window)
    {
        for (QAction *action : DruiTestAccess::ToolsMenu(window)->actions()) {
            if (action->data().toString() == QLatin1String("Preferences")) {
                return action;
            }
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        QCOMPARE(CLanguageManager::Instance().GetCurrentLanguage(), QStringLiteral("/English"));
    }

    void init()
    {
        // The window has made the folder by the time the dialog can be opened.
        QDir(AppDataFolder()).removeRecursively();
        QVERIFY(EnsureFolderExists(AppDataFolder()));
    }

    void contentShowsTheFolderAndTheFormats_data()
    {
        QTest::addColumn<int>("formatIndex");
        QTest::addColumn<QByteArray>("stored"); // empty: no OutputPath.txt

        QTest::newRow("JPEG, default folder") << 0 << QByteArray();
        QTest::newRow("PNG, default folder") << 1 << QByteArray();
        QTest::newRow("BMP, stored folder") << 2 << QByteArray("/srv/snapshots/");
        QTest::newRow("JPEG, stored folder with spaces") << 0 << QByteArray("/home/u/My Shots/");
    }

    void contentShowsTheFolderAndTheFormats()
    {
        QFETCH(int, formatIndex);
        QFETCH(QByteArray, stored);

        if (!stored.isEmpty()) {
            QVERIFY(WriteAll(OutputPathFile(), stored));
        }
        auto dialog = NewDialog(formatIndex);

        QLineEdit *folder = PreferencesTestAccess::FolderEdit(*dialog);
        QVERIFY(folder != nullptr);
        QVERIFY(!folder->isEnabled());
        QCOMPARE(folder->text(),
                 stored.isEmpty() ? Snapshots::DefaultFolder() : QString::fromLocal8Bit(stored));

        QComboBox *formats = dialog->m_pFormatCombo;
        QVERIFY(formats != nullptr);
        QStringList items;
        for (int i = 0; i < formats->count(); ++i) {
            items.append(formats->itemText(i));
        }
        QCOMPARE(items, (QStringList{"JPEG", "PNG", "BMP"}));
        QCOMPARE(formats->currentIndex(), formatIndex);
        // Opening the dialog writes nothing.
        QCOMPARE(Contents(OutputPathFile()).has_value(), !stored.isEmpty());
    }

    void cancelAndCloseKeepEverything_data()
    {
        QTest::addColumn<bool>("closeButton");
        QTest::addColumn<QByteArray>("stored");

        QTest::newRow("Cancel, no file") << false << QByteArray();
        QTest::newRow("Cancel, stored folder") << false << QByteArray("/srv/snapshots/");
        QTest::newRow("close button, no file") << true << QByteArray();
        QTest::newRow("close button, stored folder") << true << QByteArray("/srv/snapshots/");
    }

    void cancelAndCloseKeepEverything()
    {
        QFETCH(bool, closeButton);
        QFETCH(QByteArray, stored);

        if (!stored.isEmpty()) {
            QVERIFY(WriteAll(OutputPathFile(), stored));
        }
        auto dialog = NewDialog(1);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->m_pFormatCombo->setCurrentIndex(2);

        QPushButton *button = closeButton ? CloseButton(dialog.get())
                                          : ButtonWithText(dialog.get(), "MainWnd/Cancel");
        QVERIFY(button != nullptr);
        QTest::mouseClick(button, Qt::LeftButton);

        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->m_bCancelled, 1);
        QCOMPARE(dialog->m_nFormatIndex, 1);
        const std::optional<QByteArray> after = Contents(OutputPathFile());
        QCOMPARE(after.has_value(), !stored.isEmpty());
        if (after) {
            QCOMPARE(*after, stored);
        }
    }

    void okKeepsTheShownFolderAndTheFormat_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("givenIndex");
        QTest::addColumn<int>("chosenIndex");

        QTest::newRow("no file: the default folder is written") << QByteArray() << 0 << 1;
        QTest::newRow("stored folder written back") << QByteArray("/srv/snapshots/") << 2 << 0;
        QTest::newRow("format left as it was") << QByteArray("/home/u/My Shots/") << 2 << 2;
    }

    void okKeepsTheShownFolderAndTheFormat()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, givenIndex);
        QFETCH(int, chosenIndex);

        if (!stored.isEmpty()) {
            QVERIFY(WriteAll(OutputPathFile(), stored));
        }
        auto dialog = NewDialog(givenIndex);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->m_pFormatCombo->setCurrentIndex(chosenIndex);
        const QString shown = PreferencesTestAccess::FolderEdit(*dialog)->text();
        QCOMPARE(shown,
                 stored.isEmpty() ? Snapshots::DefaultFolder() : QString::fromLocal8Bit(stored));

        QPushButton *ok = ButtonWithText(dialog.get(), "MainWnd/OK");
        QVERIFY(ok != nullptr);
        QTest::mouseClick(ok, Qt::LeftButton);

        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->m_bCancelled, 0);
        QCOMPARE(dialog->m_nFormatIndex, chosenIndex);
        const std::optional<QByteArray> written = Contents(OutputPathFile());
        QVERIFY(written.has_value());
        QCOMPARE(*written, shown.toLocal8Bit());
    }

    void browseChangesTheShownFolder_data()
    {
        QTest::addColumn<bool>("accepted");
        QTest::newRow("folder chosen") << true;
        QTest::newRow("chooser cancelled") << false;
    }

    void browseChangesTheShownFolder()
    {
        QFETCH(bool, accepted);

        const QString target = m_scratch.filePath(QStringLiteral("picked folder"));
        QVERIFY(QDir().mkpath(target));
        auto dialog = NewDialog(0);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        const QString before = PreferencesTestAccess::FolderEdit(*dialog)->text();

        bool chooserSeen = false;
        const auto chooser = WhenModal<QFileDialog>([&](QFileDialog *files) {
            chooserSeen = true;
            files->setDirectory(target);
            // accept() is the dialog's own, protected in the file chooser.
            QDialog *asDialog = files;
            if (accepted) {
                asDialog->accept();
            } else {
                asDialog->reject();
            }
        });
        QPushButton *browse = ButtonWithText(dialog.get(), "MainWnd/Browse");
        QVERIFY(browse != nullptr);
        QTest::mouseClick(browse, Qt::LeftButton);
        QVERIFY(chooserSeen);

        const QString expected = accepted ? target + QLatin1Char('/') : before;
        QCOMPARE(PreferencesTestAccess::FolderEdit(*dialog)->text(), expected);
        QCOMPARE(PreferencesTestAccess::Folder(*dialog), expected);
        // Browsing alone writes nothing; OK then keeps what is shown.
        QVERIFY(!Contents(OutputPathFile()).has_value());
        QTest::mouseClick(ButtonWithText(dialog.get(), "MainWnd/OK"), Qt::LeftButton);
        QCOMPARE(Contents(OutputPathFile()).value_or(QByteArray("(none)")), expected.toLocal8Bit());
    }

    void dialogHasItsSizeAndMovesWhenDragged_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("moves");

        QTest::newRow("left button") << Qt::LeftButton << true;
        QTest::newRow("right button") << Qt::RightButton << false;
    }

    void dialogHasItsSizeAndMovesWhenDragged()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, moves);

        auto dialog = NewDialog(0);
        dialog->move(100, 100);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QCOMPARE(dialog->size(), QSize(680, 250));
        QTRY_COMPARE(dialog->pos(), QPoint(100, 100));

        // Pressed on the content, away from any button, then dragged by (50, 30).
        const QPointF from(40, 200);
        const QPointF to(90, 230);
        QMouseEvent press(QEvent::MouseButtonPress, from, dialog->mapToGlobal(from), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(dialog.get(), &press);
        const QPointF toGlobal = dialog->mapToGlobal(to);
        QMouseEvent move(QEvent::MouseMove, to, toGlobal, Qt::NoButton, button, Qt::NoModifier);
        QApplication::sendEvent(dialog.get(), &move);

        const QPoint expected = moves ? QPoint(150, 130) : QPoint(100, 100);
        QTRY_COMPARE(dialog->pos(), expected);
        QCOMPARE(dialog->size(), QSize(680, 250));
    }

    void toolsPreferencesSetsTheWindowsFormat_data()
    {
        QTest::addColumn<QString>("formatBefore");
        QTest::addColumn<int>("indexBefore");
        QTest::addColumn<int>("chosenIndex");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("formatAfter");
        QTest::addColumn<int>("indexAfter");

        QTest::newRow("PNG, OK") << "JPG" << 0 << 1 << true << "PNG" << 1;
        QTest::newRow("BMP, OK") << "JPG" << 0 << 2 << true << "BMP" << 2;
        QTest::newRow("PNG, Cancel") << "JPG" << 0 << 1 << false << "JPG" << 0;
        QTest::newRow("Cancel after BMP") << "BMP" << 2 << 0 << false << "BMP" << 2;
        // The fresh window's "JPG" becomes the combo's "JPEG".
        QTest::newRow("JPEG left, OK") << "JPG" << 0 << 0 << true << "JPEG" << 0;
        QTest::newRow("back to JPEG, OK") << "PNG" << 1 << 0 << true << "JPEG" << 0;
    }

    void toolsPreferencesSetsTheWindowsFormat()
    {
        QFETCH(QString, formatBefore);
        QFETCH(int, indexBefore);
        QFETCH(int, chosenIndex);
        QFETCH(bool, ok);
        QFETCH(QString, formatAfter);
        QFETCH(int, indexAfter);

        DRUI window;
        window.SetUpWindow();
        QCOMPARE(Owners::Player(window).SnapshotFormat(), QStringLiteral("JPG"));
        QCOMPARE(DruiTestAccess::SnapshotFormatIndex(window), 0);
        Owners::Player(window).SetSnapshotFormat(formatBefore);
        DruiTestAccess::SnapshotFormatIndex(window) = indexBefore;

        int shownIndex = -1;
        bool wasModal = false;
        const auto closer = WhenModal<CProcessUI>([&](CProcessUI *dialog) {
            wasModal = dialog->isModal();
            shownIndex = dialog->m_pFormatCombo->currentIndex();
            dialog->m_pFormatCombo->setCurrentIndex(chosenIndex);
            dialog->findChild<QCheckBox *>()->setChecked(true);
            ButtonWithText(dialog, ok ? "MainWnd/OK" : "MainWnd/Cancel")->click();
        });
        QAction *entry = PreferencesEntry(window);
        QVERIFY(entry != nullptr);
        Pick(entry);

        QVERIFY(wasModal);
        QCOMPARE(shownIndex, indexBefore);
        QCOMPARE(Owners::Player(window).SnapshotFormat(), formatAfter);
        QCOMPARE(DruiTestAccess::SnapshotFormatIndex(window), indexAfter);
        QCOMPARE(Contents(OutputPathFile()).has_value(), ok);
        // The play list choice is kept at once, not only when the window closes.
        QCOMPARE(RememberedSettings::Load(AppDataFolder()).playWholeList, ok);
    }
};

TAVRIX_WIDGET_TEST_MAIN(PreferencesTest)
#include "PreferencesTest.moc"
