// The start window.
#include "gui/shell/StartWindow.h"

#include "gui/shell/Pictures.h"
#include "gui/widgets/DialogParts.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace focaris::gui {

QString StartWindow::versionLabel(const QString &version)
{
    QString v = version;
    while (v.size() < 6)
        v += QLatin1Char('0');
    return QStringLiteral("ver. ") + v;
}

StartWindow::StartWindow(const QString &versionText, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("StartWindow"));
    setWindowTitle(QStringLiteral("Foc aris"));
    setWindowIcon(programIcon());

    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xF8, 0xEE));
    setPalette(pal);

    auto *title = new QLabel(QStringLiteral("Legea 226/2021 - Energie termica"), this);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(QStringLiteral("color: #8A2B0E;"));

    auto *picture = new QLabel(this);
    picture->setPixmap(flamePixmap(96));
    picture->setAlignment(Qt::AlignCenter);

    auto *name = new QLabel(QStringLiteral("Foc aris"), this);
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 2.2);
    nameFont.setBold(true);
    name->setFont(nameFont);
    version_ = new QLabel(versionLabel(versionText), this);
    version_->setObjectName(QStringLiteral("VersionLine"));
    auto *nameBox = new QVBoxLayout;
    nameBox->addStretch();
    nameBox->addWidget(name);
    nameBox->addWidget(version_);
    nameBox->addStretch();

    auto *middle = new QHBoxLayout;
    middle->addStretch();
    middle->addWidget(picture);
    middle->addSpacing(16);
    middle->addLayout(nameBox);
    middle->addStretch();

    status_ = Named<QLabel>(QStringLiteral("StatusText"), QStringLiteral("Incarcare date"), this);
    bar_ = Named<QProgressBar>(QStringLiteral("ProgressBar"), this);
    bar_->setRange(0, 100);
    bar_->setValue(0);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->addWidget(title);
    layout->addLayout(middle, 1);
    layout->addWidget(status_);
    layout->addWidget(bar_);
    // The window's usual size, larger when a larger font needs the room.
    const QSize need = layout->sizeHint();
    setFixedSize(std::max(460, need.width()), std::max(250, need.height()));

    setCursor(Qt::WaitCursor);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void StartWindow::setStatus(const QString &text)
{
    status_->setText(text);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void StartWindow::setBarMaximum(int maximum)
{
    bar_->setMaximum(std::max(1, maximum));
}

void StartWindow::setBarPosition(int position)
{
    bar_->setValue(std::min(position, bar_->maximum()));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace focaris::gui
