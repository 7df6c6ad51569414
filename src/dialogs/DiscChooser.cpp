#include "dialogs/DiscChooser.h"

#include "disc/SourceClassification.h"

#include <QFileInfo>

DiscChooser::DiscChooser(QWidget *parent, const QString &startFolder)
    : QFileDialog(parent, QString(), startFolder, QStringLiteral("*.iso"))
{
    setFileMode(QFileDialog::ExistingFile);
    // A platform's own chooser would take a folder's Open as a step into it, always.
    setOption(QFileDialog::DontUseNativeDialog);
}

QString DiscChooser::Choose(QWidget *parent, const QString &startFolder)
{
    DiscChooser chooser(parent, startFolder);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return {};
    }
    return chooser.selectedFiles().first();
}

void DiscChooser::accept()
{
    const QStringList chosen = selectedFiles();
    if (chosen.size() == 1 && QFileInfo(chosen.first()).isDir() &&
        ClassifyDiscFolder(DiscRootOf(chosen.first())) != DiscFolderKind::NotRecognised) {
        QDialog::accept();
        return;
    }
    QFileDialog::accept();
}
