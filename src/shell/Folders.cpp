// The folder commands.
#include "shell/Folders.h"

#include "core/Context.h"
#include "core/Settings.h"
#include "core/Ui.h"
#include "engines/common/FileNames.h"
#include "safety/SavePlace.h"
#include "shell/Access.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace focaris::shell {
namespace {

QString withoutTrailingSeparator(QString folder)
{
    folder = QDir::fromNativeSeparators(folder);
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

bool sameFolder(const QString &a, const QString &b)
{
    return withoutTrailingSeparator(a).toUpper() == withoutTrailingSeparator(b).toUpper();
}

} // namespace

bool HoldsTables(const QString &folder)
{
    for (const char *name : {"Cereri", "Oameni", "Log"}) {
        const auto path = focaris::files::resolveCaseInsensitive(
            (folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".dbf")).toStdString());
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec))
            return false;
    }
    return true;
}

FolderResult ChangeServerFolder(Ui &ui, QString &label)
{
    if (RefuseReadOnly(ui, QStringLiteral("Conectare server")))
        return FolderResult::Unchanged;
    QString folder = label.trimmed().size() > 1 ? label.trimmed() : QString();
    if (!ui.chooseFolder(QStringLiteral("Indicati baza de date din retea"), folder))
        return FolderResult::Unchanged;
    folder = withoutTrailingSeparator(folder);
    if (sameFolder(folder, DataFolder()) || sameFolder(folder, LocalDataFolder())) {
        ui.message(QStringLiteral("Selectare Cale salvari"), QStringLiteral("Nu puteti salva aici!"),
                   MessageKind::Error, MessageButton::OK);
        return FolderResult::Unchanged;
    }
    if (!HoldsTables(folder)) {
        ui.message(QStringLiteral("Conectare server"),
                   QStringLiteral("Baza de date ") + folder +
                       QStringLiteral("\rNU este corecta!\rVerificati ce-ati ales!"),
                   MessageKind::Error, MessageButton::OK);
        return FolderResult::Unchanged;
    }
    label = folder;
    WriteMachineSetting(QStringLiteral("SERVER"), folder);
    ui.message(QStringLiteral("Conectat la server"),
               QStringLiteral("Conectarea la server a reusit!\rPorniti programul din nou !"), MessageKind::Information,
               MessageButton::OK);
    return FolderResult::EndProgram;
}

FolderResult LeaveServerFolder(Ui &ui, QString &label, QObject *control)
{
    if (RefuseReadOnly(ui, QStringLiteral("Stergere cale server")))
        return FolderResult::Unchanged;
    if (label.trimmed().size() < 2) {
        ui.fieldHint(QStringLiteral("Nu aveti ce sterge."), control);
        return FolderResult::Unchanged;
    }
    if (ui.message(QStringLiteral("Stergere cale server"), QStringLiteral("Doriti sa va deconectati de la server?"),
                   MessageKind::Confirmation, MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return FolderResult::Unchanged;
    label = QStringLiteral("  -");
    WriteMachineSetting(QStringLiteral("SERVER"), QString());
    ui.message(QStringLiteral("Deconectat de la server"),
               QStringLiteral("Sunteti deconectat de la server!\rPorniti programul din nou !"),
               MessageKind::Information, MessageButton::OK);
    return FolderResult::EndProgram;
}

FolderResult ChangeSaveFolder(Ui &ui, QString &label)
{
    if (RefuseReadOnly(ui, QStringLiteral("Salvare Automata")))
        return FolderResult::Unchanged;
    if (NetworkMode()) {
        ui.message(QStringLiteral("Salvare Automata"), QStringLiteral("Numai Serverul poate salva automat!"),
                   MessageKind::Error, MessageButton::OK);
        return FolderResult::Unchanged;
    }
    QString folder = label.trimmed().size() > 1 ? label.trimmed() : QString();
    if (!ui.chooseFolder(QStringLiteral("Indicati calea salvarilor automate"), folder))
        return FolderResult::Unchanged;
    folder = withoutTrailingSeparator(folder);
    // The automatic save refuses such a folder at every closing (the archive would travel
    // inside the data it saves, or be deleted with the temporary folder): refuse it now.
    if (ForbiddenSavePlace(folder)) {
        ui.message(QStringLiteral("Stabilire cale salvari"), QStringLiteral("Nu puteti salva aici!"),
                   MessageKind::Error, MessageButton::OK);
        return FolderResult::Unchanged;
    }
    // Write test: the folder must take a new file. A "test.txt" already there belongs to
    // the person and is left alone; the test then uses a name of its own.
    QString testName = folder + QStringLiteral("/test.txt");
    for (int n = 0; QFileInfo::exists(testName) && n < 1000; ++n)
        testName = folder + QStringLiteral("/test%1.txt").arg(n);
    QFile test(testName);
    if (QFileInfo::exists(testName) || !test.open(QIODevice::NewOnly | QIODevice::Text)) {
        ui.message(QStringLiteral("Stabilire cale salvari"),
                   QStringLiteral("Nu pot scrie in ") + folder +
                       QStringLiteral(" !\rAlegeti alta cale, unde sa pot scrie!"),
                   MessageKind::Error, MessageButton::OK);
        return FolderResult::Unchanged;
    }
    test.close();
    test.remove();
    label = folder;
    WriteMachineSetting(QStringLiteral("CALESALVARI"), folder);
    ui.message(QStringLiteral("Salvari automate"),
               QStringLiteral("Calea pentru Salvari Automate este acum \r") + folder + QStringLiteral("."),
               MessageKind::Information, MessageButton::OK);
    return FolderResult::Changed;
}

FolderResult SwitchOffSaveFolder(Ui &ui, QString &label, QObject *control)
{
    if (RefuseReadOnly(ui, QStringLiteral("Salvare Automata")))
        return FolderResult::Unchanged;
    if (label.trimmed().size() < 2) {
        ui.fieldHint(QStringLiteral("Salvarea automata este deja dezactivata."), control);
        return FolderResult::Unchanged;
    }
    if (ui.message(QStringLiteral("Stergere cale salvari"), QStringLiteral("Doriti sa dezactivati salvarea automata?"),
                   MessageKind::Confirmation, MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return FolderResult::Unchanged;
    label = QStringLiteral("-");
    WriteMachineSetting(QStringLiteral("CALESALVARI"), QStringLiteral("-"));
    ui.message(QStringLiteral("Salvare Automata"), QStringLiteral("Salvarea automata a fost dezactivata!"),
               MessageKind::Information, MessageButton::OK);
    return FolderResult::Changed;
}

} // namespace focaris::shell
