// A Ui with nobody at the keyboard: nothing is shown, every question is answered as with
// Escape, every choice is cancelled. For programs without windows (the tool, benchmarks);
// override what such a program can do better, such as printing messages.
#pragma once

#include "core/Ui.h"

namespace focaris {

class NullUi : public Ui {
public:
    MessageResult message(const QString &, const QString &, MessageKind, MessageButtons) override
    {
        return MessageResult::Renunt;
    }
    void fieldHint(const QString &, QObject *) override {}
    bool chooseFolder(const QString &, QString &) override { return false; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    bool askText(const QString &, const QString &, QString &, bool) override { return false; }
    bool openDocument(const QString &) override { return false; }
    void progressShow(const QString &, int) override {}
    void progressText(const QString &) override {}
    void progressStep() override {}
    void progressHide() override {}
};

} // namespace focaris
