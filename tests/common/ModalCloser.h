#pragma once

#include "common/DruiTestAccess.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <functional>
#include <memory>

// A modal widget runs its own loop and blocks the test; this timer runs the action on the
// first modal widget of the given type from inside that loop (on every one if not once).
template <typename Widget>
std::unique_ptr<QTimer> WhenModal(std::function<void(Widget *)> action, bool once = true)
{
    auto timer = std::make_unique<QTimer>();
    QTimer *raw = timer.get();
    QObject::connect(raw, &QTimer::timeout, [raw, action, once] {
        if (auto *widget = qobject_cast<Widget *>(QApplication::activeModalWidget())) {
            if (once) {
                raw->stop();
            }
            action(widget);
        }
    });
    timer->start(20);
    return timer;
}

// Types a path into Qt's own file chooser and presses its Open button, as a user would. Typed,
// not selected: the chooser selects only what its background listing of a folder already holds.
inline void ChooseInFileDialog(QFileDialog *files, const QString &path)
{
    files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
    static_cast<QDialog *>(files)->accept(); // the chooser's own accept() is protected
}

// Closes every message box shown while the timer lives and keeps what it said.
inline std::unique_ptr<QTimer> CloseMessageBoxes(QString &shownMessage)
{
    return WhenModal<CMessageBox>(
        [&shownMessage](CMessageBox *box) {
            shownMessage = MessageBoxTestAccess::MessageLabel(*box)->text();
            box->close();
        },
        false);
}
