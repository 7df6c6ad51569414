#include "dialogs/PreferencesDialog.h"

#include "app/LanguageManager.h"
#include "dialogs/DesktopOpen.h"
#include "engine/Snapshots.h"
#include "platform/AppDataFolder.h"
#include "look/Look.h"
#include "look/StyleSheets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QPushButton *TextButton(const char *textKey, QWidget *parent, const QRect &geometry)
{
    auto *button = new QPushButton(GetText(textKey), parent);
    button->setGeometry(geometry);
    button->setFont(CalibriFont(11));
    button->setFlat(true);
    button->setStyleSheet(StyleSheets::DialogTextButton());
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QPushButton *TitleBarButton(const char *imagePath, QWidget *parent, int x)
{
    QPushButton *button = PictureButton(imagePath, parent);
    button->move(x, 0);
    button->setStyleSheet(QStringLiteral("border:none"));
    return button;
}

QLabel *RowLabel(const char *textKey, QWidget *parent, const QRect &geometry)
{
    auto *label = new QLabel(GetText(textKey) + QStringLiteral(": "), parent);
    label->setGeometry(geometry);
    label->setFont(CalibriFont(11));
    label->setWordWrap(true);
    QPalette black = label->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(black);
    return label;
}

} // namespace

CProcessUI::CProcessUI(QWidget *parent) : DraggableDialog(parent)
{
    LoadImageResources();
    setObjectName(QStringLiteral("Dialog"));
    resize(426, 300);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(680, 250);
    setWindowTitle(GetText("MainWnd/RegisterTitle"));
    setWindowIcon(QIcon(QString::fromLatin1(Images::kLogo)));
    MakeFramelessWindow();
}

void CProcessUI::BuildContent()
{
    auto *titleBar = new QLabel;
    titleBar->setStyleSheet(StyleSheets::DialogTitleBar());
    titleBar->setFixedHeight(40);
    titleBar->setMinimumWidth(width());
    QPushButton *minimise = TitleBarButton(Images::kMinimise, titleBar, width() - 60);
    QPushButton *closeButton = TitleBarButton(Images::kClose, titleBar, width() - 30);
    connect(minimise, &QPushButton::clicked, this, &CProcessUI::btnMinSlot);
    connect(closeButton, &QPushButton::clicked, this, &CProcessUI::btnCloseSlot);
    auto *title = new QLabel(GetText("MainWnd/Preferences"), titleBar);
    title->setGeometry(150, 5, 300, 30);
    title->setAlignment(Qt::AlignCenter);
    title->setFont(CalibriFont(12, true));
    title->setPalette(WhiteTextPalette());

    auto *content = new QWidget;
    content->setMinimumSize(width(), 180);
    RowLabel("MainWnd/SnapshotFolder", content, QRect(20, 10, 150, 25));
    m_strFolder = Snapshots::Folder(AppDataFolder());
    m_pFolderEdit = new QLineEdit(m_strFolder, content);
    m_pFolderEdit->setGeometry(180, 10, 250, 25);
    m_pFolderEdit->setFont(CalibriFont(11));
    m_pFolderEdit->setEnabled(false);
    QPushButton *browse = TextButton("MainWnd/Browse", content, QRect(440, 10, 80, 25));
    QPushButton *open = TextButton("MainWnd/Open", content, QRect(530, 10, 80, 25));
    connect(browse, &QPushButton::clicked, this, &CProcessUI::btnChoosePath);
    connect(open, &QPushButton::clicked, this, &CProcessUI::btnOpenFolder);
    RowLabel("MainWnd/SnapshotFormat", content, QRect(20, 40, 150, 25));
    m_pFormatCombo = new QComboBox(content);
    m_pFormatCombo->setGeometry(180, 40, 150, 25);
    m_pFormatCombo->setFont(CalibriFont(12));
    m_pFormatCombo->addItems(
        {QStringLiteral("JPEG"), QStringLiteral("PNG"), QStringLiteral("BMP")});
    m_pFormatCombo->setCurrentIndex(m_nFormatIndex);
    m_pPlayWholeListBox = new QCheckBox(GetText("MainWnd/PlayWholeList"), content);
    m_pPlayWholeListBox->setGeometry(20, 75, 590, 25);
    m_pPlayWholeListBox->setFont(CalibriFont(11));
    m_pPlayWholeListBox->setChecked(m_bPlayWholeList);
    auto *contentLayout = new QVBoxLayout;
    contentLayout->setContentsMargins(20, 0, 0, 0);
    contentLayout->addWidget(content);

    auto *buttonStrip = new QWidget;
    buttonStrip->setMinimumSize(width(), 40);
    QPushButton *ok = TextButton("MainWnd/OK", buttonStrip, QRect(220, 0, 80, 30));
    QPushButton *cancel = TextButton("MainWnd/Cancel", buttonStrip, QRect(360, 0, 80, 30));
    connect(ok, &QPushButton::clicked, this, &CProcessUI::btnOK);
    connect(cancel, &QPushButton::clicked, this, &CProcessUI::btnCloseSlot);

    auto *bottom = new QWidget;
    bottom->setMinimumHeight(10);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(titleBar);
    layout->addLayout(contentLayout);
    layout->addWidget(buttonStrip);
    layout->addWidget(bottom);
}

void CProcessUI::btnCloseSlot()
{
    close();
}

void CProcessUI::btnMinSlot()
{
    showMinimized();
}

void CProcessUI::btnChoosePath()
{
    const QString chosen = QFileDialog::getExistingDirectory(
        nullptr, QString(), QStringLiteral("."), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) {
        return;
    }
    m_strFolder = chosen + QLatin1Char('/');
    m_pFolderEdit->setText(m_strFolder);
}

void CProcessUI::btnOpenFolder()
{
    EnsureFolderExists(m_strFolder);
    OpenWithDesktop(this, QUrl::fromLocalFile(m_strFolder));
}

void CProcessUI::btnOK()
{
    m_nFormatIndex = m_pFormatCombo->currentIndex();
    m_bPlayWholeList = m_pPlayWholeListBox->isChecked();
    // Written whole and moved into place: whatever sat at the name (a FIFO, say) is replaced,
    // never opened.
    QSaveFile stored(AppDataFolder() + QStringLiteral("OutputPath.txt"));
    if (stored.open(QIODevice::WriteOnly)) {
        stored.write(m_strFolder.toLocal8Bit());
        stored.commit();
    }
    m_bCancelled = 0;
    close();
}
