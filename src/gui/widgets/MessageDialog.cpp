// The message dialog: captions, icons, colours and button layout by kind and button set.
#include "gui/widgets/MessageDialog.h"

#include "gui/widgets/WindowAccess.h"

#include <QApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace focaris::gui {
namespace {

constexpr int kWidth = 339;
constexpr int kHeight = 171;
constexpr int kTopStrip = 44;    // icon and title
constexpr int kBottomStrip = 44; // buttons
constexpr int kButtonWidth = 72;

struct ButtonDef {
    MessageButton member;
    const char *caption;
    MessageResult result;
};
// Display order and results of the four buttons.
constexpr ButtonDef kButtons[4] = {{MessageButton::Da, "&Da", MessageResult::Da},
                                   {MessageButton::Nu, "&Nu", MessageResult::Nu},
                                   {MessageButton::Renunt, "&Renunt", MessageResult::Renunt},
                                   {MessageButton::OK, "&OK", MessageResult::OK}};

struct KindDef {
    const char *caption;
    QStyle::StandardPixmap icon;
    QRgb from, to;
};
constexpr KindDef kKinds[4] = {
    {"Atentie !", QStyle::SP_MessageBoxWarning, 0xB7B18A, 0x383623},
    {"Eroare", QStyle::SP_MessageBoxCritical, 0xFFD5D5, 0xFF0000},
    {"Informatie", QStyle::SP_MessageBoxInformation, 0xE1DEFA, 0x0000BB},
    {"Confirmare", QStyle::SP_MessageBoxQuestion, 0x81A2D3, 0x365F9C},
};

} // namespace

MessageDialog::MessageDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Mesaj"));
    setFixedSize(kWidth, kHeight);
    setModal(true);

    icon_ = new QLabel(this);
    icon_->setGeometry(8, 6, 32, 32);
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("Titlu"));
    title_->setGeometry(48, 6, kWidth - 56, 32);
    QFont bold = title_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    title_->setFont(bold);
    title_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("Text"));
    text_->setGeometry(9, kTopStrip + 9, 321, 65);
    text_->setAlignment(Qt::AlignCenter);
    text_->setWordWrap(true);
    text_->setTextFormat(Qt::PlainText);

    for (int i = 0; i < 4; ++i) {
        auto *b = new QPushButton(QString::fromLatin1(kButtons[i].caption), this);
        b->setObjectName(QStringLiteral("Buton%1").arg(i + 1));
        b->setFixedWidth(kButtonWidth);
        const int result = int(kButtons[i].result);
        connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
        buttons_[i] = b;
    }
}

int MessageDialog::buttonX(int i, int count)
{
    const int gap = (342 - 73 * count) / (count + 1);
    return i * (gap + 73) - 73;
}

int MessageDialog::prepare(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons)
{
    const int index = int(kind);
    kind_ = (index >= 0 && index <= 3) ? kind : MessageKind::Error;
    const KindDef &k = kKinds[int(kind_)];
    setWindowTitle(QString::fromLatin1(k.caption));
    icon_->setPixmap(style()->standardIcon(k.icon).pixmap(32, 32));
    from_ = QColor(k.from);
    to_ = QColor(k.to);
    title_->setText(title);
    // The system writes line breaks as carriage returns.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text_->setText(shown);

    int count = 0;
    for (const ButtonDef &def : kButtons)
        count += buttons.testFlag(def.member) ? 1 : 0;
    int shownIndex = 0;
    const int y = kHeight - kBottomStrip + (kBottomStrip - 25) / 2;
    for (int i = 0; i < 4; ++i) {
        QPushButton *b = buttons_[i];
        const bool visible = buttons.testFlag(kButtons[i].member);
        b->setVisible(visible);
        b->setDefault(false);
        if (visible) {
            ++shownIndex;
            b->setGeometry(buttonX(shownIndex, count), y, kButtonWidth, 25);
            if (shownIndex == 1)
                b->setDefault(true);
        }
    }
    update();
    return count;
}

MessageResult MessageDialog::run(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons)
{
    if (prepare(title, text, kind, buttons) == 0)
        return MessageResult::Renunt;
    if (kind_ == MessageKind::Error)
        QApplication::beep();
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kWidth / 2, kHeight / 2));
    }
    for (QPushButton *b : buttons_)
        if (b->isVisible() && b->isDefault())
            b->setFocus();
    // A screen reader reads the message out once the dialog is on the screen.
    QTimer::singleShot(0, this, [this] { Announce(this, title_->text() + QLatin1Char('\n') + text_->text()); });
    // The message belongs to no window, so on its closing the window manager alone would
    // choose who gets the keyboard, and it may pick a window behind the one that asked.
    // The keyboard goes back to the window that was active when the message came, or to
    // the modal window still open under it.
    const QPointer<QWidget> opener = QApplication::activeWindow();
    const int result = exec();
    QWidget *back = QApplication::activeModalWidget();
    if (!back && opener && opener != this && opener->isVisible())
        back = opener;
    if (back && back != this) {
        back->activateWindow();
        back->raise();
    }
    return MessageResult(result);
}

void MessageDialog::reject()
{
    done(int(MessageResult::Renunt));
}

void MessageDialog::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // Both strips run from the first colour on the right to the second on the left.
    QLinearGradient g(width(), 0, 0, 0);
    g.setColorAt(0, from_);
    g.setColorAt(1, to_);
    p.fillRect(0, 0, width(), kTopStrip, g);
    p.fillRect(0, height() - kBottomStrip, width(), kBottomStrip, g);
}

} // namespace focaris::gui
