// The guide's messages page against the program: every message the saving and remote
// copy windows can show (and the backup server can send them) is written there word for
// word, so that the clerk finds each one, and none of them is in English.
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

using namespace focaris::test;

namespace {

// The texts shown through a message, a field hint or an exchange's error in `file`.
QStringList shownTexts(const QString &file)
{
    const QString code = QString::fromStdString(readFile(file.toStdString()));
    // A whole literal after a line break, as a message's text, a hint, an exchange's error
    // or a server's refusal; or the one argument of the server's message(). Literals that
    // a variable part follows are left out. Spaces and line breaks around the operators do
    // not matter, so that the texts found do not depend on how the lines are laid out.
    static const QRegularExpression shown(QString::fromLatin1(
        R"re((?:kBreak\s*\+\s*|message\(QStringLiteral\("[^"]*"\),\s*|fieldHint\(|error_ = (?:[a-z_]+ \? )?|: |)re"
        R"re(refuse\(|Refusal\{)QStringLiteral\("([^"/][^"]{2,})"\)(?!\s*\+))re"));
    static const QRegularExpression served(QString::fromLatin1(R"re(\bmessage\(QStringLiteral\("([^"]{3,})"\)\);)re"));
    QStringList texts;
    for (const auto *pattern : {&shown, &served})
        for (auto it = pattern->globalMatch(code); it.hasNext();) {
            const QString text = it.next().captured(1).trimmed();
            if (!text.isEmpty() && !texts.contains(text))
                texts << text;
        }
    return texts;
}

} // namespace

TEST(MessagesPage, HoldsEveryMessageOfTheSavingAndRemoteCopyWindows)
{
    const QString root = QString::fromStdString((dataDir() / ".." / "..").lexically_normal().string());
    const QString page = QString::fromStdString(readFile((root + "/docs/ghid/13-mesaje.md").toStdString()));
    QStringList files;
    for (const QString &folder : {QStringLiteral("/src/safety"), QStringLiteral("/src/gui/safety")})
        for (const QString &name : QDir(root + folder).entryList({QStringLiteral("*.cpp")}))
            files << root + folder + "/" + name;
    files << root + "/src/server/BackupServer.cpp";
    int seen = 0;
    for (const QString &file : files)
        for (const QString &text : shownTexts(file)) {
            ++seen;
            EXPECT_TRUE(page.contains(QStringLiteral("„") + text + QStringLiteral("”")))
                << text.toStdString() << "  (" << QFileInfo(file).fileName().toStdString() << ")";
        }
    EXPECT_GT(seen, 30);
}
