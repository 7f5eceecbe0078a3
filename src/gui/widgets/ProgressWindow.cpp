// The progress window.
#include "gui/widgets/ProgressWindow.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace focaris::gui {

ProgressWindow::ProgressWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Contor"));
    setFixedSize(360, 78);
    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setGeometry(0, 0, width(), height());
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(14, 10, 14, 12);
    descriptionLabel_ = new QLabel(frame);
    descriptionLabel_->setObjectName(QStringLiteral("Description"));
    bar_ = new QProgressBar(frame);
    bar_->setObjectName(QStringLiteral("Bar"));
    bar_->setRange(0, 100);
    bar_->setFormat(QStringLiteral("%p%"));
    layout->addWidget(descriptionLabel_);
    layout->addWidget(bar_);
}

void ProgressWindow::setDescription(const QString &text)
{
    descriptionLabel_->setText(text);
    if (isVisible())
        repaintNow();
}

void ProgressWindow::setMaximum(int maximum)
{
    bar_->setRange(0, std::max(1, maximum));
}

void ProgressWindow::progressShow()
{
    bar_->setValue(0);
    if (!isVisible()) {
        QWidget *active = QApplication::activeWindow();
        if (active && active != this) {
            disabled_ = active;
            active->setEnabled(false);
            active->setCursor(Qt::WaitCursor);
        }
        if (QScreen *screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
        show();
        raise();
    }
    repaintNow();
}

void ProgressWindow::progressStep()
{
    if (bar_->value() < bar_->maximum())
        bar_->setValue(bar_->value() + 1);
    repaintNow();
}

void ProgressWindow::progressHide()
{
    if (!isVisible())
        return;
    hide();
    if (disabled_) {
        disabled_->setEnabled(true);
        disabled_->unsetCursor();
        disabled_->activateWindow();
        disabled_->setFocus();
    }
    disabled_.clear();
}

// Everything runs on the one interface thread, so the window repaints between steps.
void ProgressWindow::repaintNow()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace focaris::gui
