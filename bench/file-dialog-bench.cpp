// Times Qt's own file chooser, as the player shows it where the desktop offers none, choosing all
// of N files in one folder as a user would (Ctrl+A in the list, then Open): the time until the
// folder is listed, the selection takes, and Open hands back the N paths.
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

constexpr int kGiveUpMs = 600000;

} // namespace

int main(int argc, char *argv[])
{
    // Offscreen unless a display is named: QT_QPA_PLATFORM=xcb times it on a real X server.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    for (const int count : {1, 300, 2000}) {
        QTemporaryDir folder;
        for (int i = 0; i < count; ++i) {
            QFile clip(
                folder.filePath(QStringLiteral("clip%1.mkv").arg(i, 4, 10, QLatin1Char('0'))));
            if (!clip.open(QIODevice::WriteOnly)) {
                std::fprintf(stderr, "could not make the files\n");
                return 1;
            }
        }
        QFileDialog dialog(nullptr, QString(), folder.path(), QStringLiteral("*.mkv"));
        dialog.setFileMode(QFileDialog::ExistingFiles);
        auto *model = dialog.findChild<QFileSystemModel *>();
        auto *list = dialog.findChild<QListView *>(QStringLiteral("listView"));
        if (model == nullptr || list == nullptr) {
            std::fprintf(stderr, "the chooser has no list of its own here\n");
            return 1;
        }
        QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
        QElapsedTimer clock;
        clock.start();
        dialog.show();
        const auto shown = [&] { return list->model()->rowCount(list->rootIndex()); };
        if (!QTest::qWaitFor([&] { return !loaded.isEmpty() && shown() == count; }, 20000)) {
            std::fprintf(stderr, "the folder was never listed (%d of %d shown)\n", shown(), count);
            return 1;
        }
        const qint64 listed = clock.restart();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        const qint64 selected = clock.restart();
        QSignalSpy chosen(&dialog, &QFileDialog::filesSelected);
        auto *buttons = dialog.findChild<QDialogButtonBox *>();
        if (buttons == nullptr || buttons->button(QDialogButtonBox::Open) == nullptr) {
            std::fprintf(stderr, "the chooser has no Open button here\n");
            return 1;
        }
        buttons->button(QDialogButtonBox::Open)->click();
        if (!QTest::qWaitFor([&] { return !chosen.isEmpty(); }, 20000)) {
            std::fprintf(stderr, "Open gave nothing\n");
            return 1;
        }
        const qint64 opened = clock.elapsed();
        const qsizetype paths = chosen.isEmpty() ? 0 : chosen.first().first().toStringList().size();
        std::printf(
            "N=%4d: folder listed %5lld ms, Ctrl+A %6lld ms, Open gave %4lld paths in %6lld ms\n",
            count, static_cast<long long>(listed), static_cast<long long>(selected),
            static_cast<long long>(paths), static_cast<long long>(opened));
    }
    return 0;
}
