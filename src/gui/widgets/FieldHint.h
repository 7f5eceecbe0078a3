// The field hint: a balloon titled "Problema !" shown beside a rejected control for five
// seconds. It never blocks and never takes the focus, so the form keeps the focus where
// it is. One instance is reused; a new hint replaces the one shown. It goes when the
// window it points into closes.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace focaris::gui {

class FieldHint : public QWidget {
    Q_OBJECT
public:
    explicit FieldHint(QWidget *parent = nullptr);

    // Shows `text` beside `control` (beside the active window when null) and returns.
    void showHint(const QString &text, QWidget *control);

    QString text() const;
    static constexpr int kDurationMs = 5000;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QLabel *title_;
    QLabel *text_;
    QTimer timer_;
    QPointer<QWidget> watched_; // the window of the control pointed at
};

} // namespace focaris::gui
