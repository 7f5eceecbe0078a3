// Watches every window the program shows while it lives and reads each one as a keyboard
// user and a screen reader meet it: the controls without an accessible name, the captions
// and grid cells cut by their widget, and the Tab chain. The tests that walk the program
// check what it recorded.
#pragma once

#include <QMap>
#include <QObject>
#include <QStringList>

class QWidget;

namespace focaris::test {

class WindowAudit : public QObject {
public:
    struct Window {
        int controls = 0;    // controls read through the accessibility interface
        QStringList unnamed; // controls without a name
        QStringList clipped; // texts wider than their widget
        QStringList chain;   // the Tab stops in order
    };

    WindowAudit();
    ~WindowAudit() override;

    // Reads `window` now (the tests also call it for windows they show themselves).
    void read(QWidget *window);

    const QMap<QString, Window> &windows() const { return windows_; }
    // Texts announced to assistive technologies (hints, messages), in order.
    const QStringList &alerts() const { return alerts_; }
    int controls() const;

    // The table of Tab chains, one window a line: "Name: stop, stop, ...".
    QString chainTable() const;
    // The chains kept in `path` (same form) that differ from the ones seen, as messages;
    // windows seen but not in the file are reported too.
    QStringList chainDifferences(const QString &path) const;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMap<QString, Window> windows_;
    QStringList alerts_;
};

} // namespace focaris::test
