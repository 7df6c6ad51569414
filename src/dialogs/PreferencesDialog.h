#pragma once

#include "dialogs/DraggableDialog.h"

#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;

// Chooses where snapshots go (kept in OutputPath.txt) and their image format (kept by the
// caller for the rest of the run), and whether the play list plays on to its end. Frameless; OK
// saves, Cancel and the close button do not.
class CProcessUI : public DraggableDialog
{
    Q_OBJECT

public:
    explicit CProcessUI(QWidget *parent = nullptr);

    // Builds the content; the caller sets m_nFormatIndex first.
    void BuildContent();

    int m_bCancelled = 1;          // 0 once OK has been pressed
    int m_nFormatIndex = 0;        // 0 JPEG, 1 PNG, 2 BMP: set before the build, read after OK
    bool m_bPlayWholeList = false; // set before the build, read after OK
    QComboBox *m_pFormatCombo = nullptr;

public slots:
    void btnCloseSlot();
    void btnOpenFolder();
    void btnOK();
    void btnChoosePath();
    void btnMinSlot();

private:
    friend class PreferencesTestAccess;

    QString m_strFolder;
    QLineEdit *m_pFolderEdit = nullptr;
    QCheckBox *m_pPlayWholeListBox = nullptr;
};
