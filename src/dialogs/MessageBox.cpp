#include "dialogs/MessageBox.h"

#include "app/LanguageManager.h"
#include "look/Look.h"
#include "look/StyleSheets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

#include <cstring>

namespace {

constexpr int kPictureSize = 48;
constexpr int kBoxWidth = 400;
constexpr int kBoxLeastHeight = 180;
// Keeps the text off the picture and the box's edges.
constexpr int kTextMargin = 16;

} // namespace

MessageKind KindOfMessage(const char *messageKey)
{
    static const char *const kFailures[] = {
        "Messages/MSG0501", // the engine could not be started
        "Messages/MSG0502", // a snapshot could not be saved
        "Messages/MSG0503", // a file could not be played
        "Messages/MSG0504", // no program opens an address or a folder
        "Messages/MSG0507", // a snapshot written through a link was not kept
        "Messages/MSG0508", // a subtitle file could not be loaded
        "Messages/MSG0510", // a play list could not be saved
    };
    static const char *const kRefusals[] = {
        "Messages/MSG0102", // not a disc
        "Messages/MSG0505", // a title the engine does not offer
        "Messages/MSG0506", // paths that do not exist
        "Messages/MSG0511", // entries left out of an open
    };
    const auto listed = [messageKey](const auto &keys) {
        return std::any_of(std::begin(keys), std::end(keys), [messageKey](const char *key) {
            return std::strcmp(key, messageKey) == 0;
        });
    };
    return listed(kFailures)   ? MessageKind::Failure
           : listed(kRefusals) ? MessageKind::Warning
                               : MessageKind::Information;
}

CMessageBox::CMessageBox(QWidget *parent) : DraggableDialog(parent)
{
    LoadImageResources();
    setObjectName(QStringLiteral("Dialog"));
    resize(426, 300);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(GetText("MainWnd/FreeTitle"));
    setWindowIcon(QIcon(QString::fromLatin1(Images::kLogo)));
    setFixedWidth(kBoxWidth);
    setMinimumHeight(kBoxLeastHeight);
    MakeFramelessWindow();
}

void CMessageBox::Show(MessageKind kind, const QString &message)
{
    switch (kind) {
    case MessageKind::Failure:
        BuildContent(GetText("Messages/MSG0404"),
                     style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(kPictureSize),
                     message);
        break;
    case MessageKind::Warning:
        BuildContent(GetText("Messages/MSG0405"),
                     style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(kPictureSize),
                     message);
        break;
    case MessageKind::Information:
        BuildContent(GetText("Messages/MSG0403"),
                     QPixmap(QString::fromLatin1(Images::kInformation)), message);
        break;
    }
}

void CMessageBox::BuildContent(const QString &titleText, const QPixmap &pictureShown,
                               const QString &message)
{
    const QFont font = CalibriFont(12);

    auto *titleStrip = new QLabel;
    titleStrip->setStyleSheet(StyleSheets::DialogTitleBar());
    titleStrip->setMinimumSize(width(), 20);
    auto *title = new QLabel(QStringLiteral("  ") + titleText, titleStrip);
    title->setGeometry(0, 5, kBoxWidth, 20);
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
    contentRow->setContentsMargins(kTextMargin / 2, kTextMargin / 2, kTextMargin, kTextMargin / 2);
    contentRow->setSpacing(kTextMargin);
    contentRow->addWidget(picture);
    contentRow->addWidget(m_pMessageLabel, 1);

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
    // As tall as the wrapped message needs, within the screen.
    const QScreen *shownOn = screen();
    const int tallest =
        shownOn != nullptr ? shownOn->availableGeometry().height() : 4 * kBoxLeastHeight;
    setFixedHeight(std::clamp(layout->totalHeightForWidth(kBoxWidth), kBoxLeastHeight,
                              std::max(kBoxLeastHeight, tallest)));
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

void ShowMessageBox(const QWidget *owner, const char *messageKey, const QString &detail)
{
    CMessageBox box;
    box.Show(KindOfMessage(messageKey), detail.isEmpty()
                                            ? GetText(messageKey)
                                            : GetText(messageKey) + QLatin1Char('\n') + detail);
    box.move(owner->x() + owner->width() / 3, owner->y() + owner->height() / 3);
    box.exec();
}
