#include "dialogs/MessageBox.h"

#include "app/LanguageManager.h"
#include "look/Look.h"
#include "look/StyleSheets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int kFailurePictureSize = 48;

} // namespace

CMessageBox::CMessageBox(QWidget *parent) : DraggableDialog(parent)
{
    LoadImageResources();
    setObjectName(QStringLiteral("Dialog"));
    resize(426, 300);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(GetText("MainWnd/FreeTitle"));
    setWindowIcon(QIcon(QString::fromLatin1(Images::kLogo)));
    setFixedSize(400, 180);
    MakeFramelessWindow();
}

void CMessageBox::ShowInformation(const QString &message)
{
    BuildContent(GetText("Messages/MSG0403"), QPixmap(QString::fromLatin1(Images::kInformation)),
                 message);
}

void CMessageBox::ShowFailure(const QString &message)
{
    BuildContent(GetText("Messages/MSG0404"),
                 style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(kFailurePictureSize),
                 message);
}

void CMessageBox::BuildContent(const QString &titleText, const QPixmap &pictureShown,
                               const QString &message)
{
    const QFont font = CalibriFont(12);

    auto *titleStrip = new QLabel;
    titleStrip->setStyleSheet(StyleSheets::DialogTitleBar());
    titleStrip->setMinimumSize(width(), 20);
    auto *title = new QLabel(QStringLiteral("  ") + titleText, titleStrip);
    title->setGeometry(0, 5, 400, 20);
    title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    title->setFont(font);
    title->setPalette(WhiteTextPalette());
    auto *titleRow = new QHBoxLayout;
    titleRow->setSpacing(0);
    titleRow->setContentsMargins(0, 0, 0, 0);
    titleRow->addWidget(titleStrip);

    auto *picture = new QLabel;
    picture->setPixmap(pictureShown);
    picture->setAlignment(Qt::AlignCenter);
    m_pMessageLabel = new QLabel(message);
    // A message may carry a file or disc name: shown as written, never as markup.
    m_pMessageLabel->setTextFormat(Qt::PlainText);
    m_pMessageLabel->setFont(font);
    QPalette black = m_pMessageLabel->palette();
    black.setColor(QPalette::WindowText, QColor(0, 0, 0, 255));
    m_pMessageLabel->setPalette(black);
    m_pMessageLabel->setMinimumHeight(60);
    m_pMessageLabel->setWordWrap(true);
    auto *contentRow = new QHBoxLayout;
    contentRow->setContentsMargins(5, 0, 0, 0);
    contentRow->addWidget(picture);
    contentRow->addWidget(m_pMessageLabel);

    auto *buttonStrip = new QLabel;
    buttonStrip->setStyleSheet(QStringLiteral("background-color: rgb(220, 220, 220);"));
    buttonStrip->setMinimumSize(width(), 40);
    auto *ok = new QPushButton(GetText("MainWnd/OK"), buttonStrip);
    ok->setGeometry(width() / 3, 5, 80, 25);
    ok->setFont(font);
    ok->setFlat(true);
    ok->setCursor(Qt::PointingHandCursor);
    ok->setStyleSheet(StyleSheets::MessageBoxOkButton());
    connect(ok, &QPushButton::clicked, this, &CMessageBox::btnSlotOK);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(titleRow);
    layout->addLayout(contentRow);
    layout->addWidget(buttonStrip);
}

void CMessageBox::btnSlotOK()
{
    m_nResult = 0;
    close();
}

void CMessageBox::btnSlotNO()
{
    m_nResult = 1;
    close();
}

void CMessageBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        close();
        return;
    }
    DraggableDialog::mousePressEvent(event);
}

void ShowMessageBox(const QWidget *owner, const QString &message)
{
    CMessageBox box;
    box.setGeometry(owner->x() + owner->width() / 3, owner->y() + owner->height() / 3, 400, 180);
    box.ShowFailure(message);
    box.exec();
}
