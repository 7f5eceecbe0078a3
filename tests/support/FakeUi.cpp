// Scripted answers for the Ui interface.
#include "FakeUi.h"

namespace focaris::test {

MessageResult FakeUi::message(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons)
{
    messages.push_back({title, text, kind, buttons});
    if (!buttons)
        return MessageResult::Renunt;
    if (messageAnswers.empty())
        return MessageResult::Renunt;
    const MessageResult answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

void FakeUi::fieldHint(const QString &text, QObject *)
{
    hints << text;
}

bool FakeUi::chooseFolder(const QString &, QString &folder)
{
    if (folderAnswers.empty())
        return false;
    folder = folderAnswers.front();
    folderAnswers.pop_front();
    return !folder.isEmpty();
}

QString FakeUi::openFileName(const QString &, const QString &, const QString &)
{
    if (fileAnswers.empty())
        return {};
    QString f = fileAnswers.front();
    fileAnswers.pop_front();
    return f;
}

QString FakeUi::saveFileName(const QString &caption, const QString &, const QString &filter)
{
    return openFileName(caption, {}, filter);
}

bool FakeUi::askText(const QString &, const QString &, QString &value, bool)
{
    if (textAnswers.empty())
        return false;
    value = textAnswers.front();
    textAnswers.pop_front();
    return true;
}

bool FakeUi::openDocument(const QString &path)
{
    opened << path;
    return true;
}

void FakeUi::progressShow(const QString &description, int)
{
    progressTexts << description;
    progressVisible = true;
}

void FakeUi::progressText(const QString &description)
{
    progressTexts << description;
}

void FakeUi::progressStep()
{
    ++progressSteps;
}

void FakeUi::progressHide()
{
    progressVisible = false;
}

} // namespace focaris::test
