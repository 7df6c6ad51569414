#pragma once

#include <QFileDialog>

// The Open Disc chooser: it lists folders and ".iso" images. An image, or a disc's folder (its
// root, or its own BDMV or VIDEO_TS folder) chosen with Open, is the choice; Open on any other
// folder, like a double click on one, shows what it holds.
class DiscChooser : public QFileDialog
{
    Q_OBJECT

public:
    DiscChooser(QWidget *parent, const QString &startFolder);

    // The chosen folder or image, or a null text when the chooser was cancelled.
    static QString Choose(QWidget *parent, const QString &startFolder);

protected:
    void accept() override;
};
