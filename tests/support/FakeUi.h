// A Ui for tests: answers come from a script, and every request is recorded so that a
// test can check what the person would have seen.
#pragma once

#include "core/Ui.h"

#include <QStringList>

#include <deque>

namespace focaris::test {

class FakeUi : public focaris::Ui {
public:
    struct Message {
        QString title, text;
        MessageKind kind;
        MessageButtons buttons;
    };

    // Scripted answers, taken in order; when a queue is empty the defaults apply:
    // message → Renunt (as Escape), chooseFolder/askText/file dialogs → cancelled.
    std::deque<MessageResult> messageAnswers;
    std::deque<QString> folderAnswers, fileAnswers, textAnswers;

    // What happened.
    std::vector<Message> messages;
    QStringList hints, opened, progressTexts;
    int progressSteps = 0;
    bool progressVisible = false;

    MessageResult message(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons) override;
    void fieldHint(const QString &text, QObject *control) override;
    bool chooseFolder(const QString &caption, QString &folder) override;
    QString openFileName(const QString &caption, const QString &folder, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &suggested, const QString &filter) override;
    bool askText(const QString &caption, const QString &prompt, QString &value, bool password) override;
    bool openDocument(const QString &path) override;
    void progressShow(const QString &description, int maximum) override;
    void progressText(const QString &description) override;
    void progressStep() override;
    void progressHide() override;

    // The text of the last message, or empty.
    QString lastMessage() const { return messages.empty() ? QString() : messages.back().text; }
};

} // namespace focaris::test
