// The edit and reset actions of the template menu; see TemplateMenu.h.
#include "documents/TemplateMenu.h"

#include "core/Ui.h"
#include "documents/TemplateDamage.h"
#include "documents/TemplateStore.h"
#include "engines/common/FileInUse.h"
#include "engines/common/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace focaris {
namespace {

// Messages break lines with CR, as the message dialog expects.
const QString kBreak = QStringLiteral("\r");

std::filesystem::path templatePath(const QString &dataFolder, const TemplateMenuItem &item)
{
    return files::resolveCaseInsensitive(QDir(dataFolder).filePath(QString::fromLatin1(item.file)).toStdString());
}

} // namespace

QString DamagedTemplateMessage(const QString &path)
{
    const QString file = QFileInfo(path).fileName();
    QString text =
        kBreak + QStringLiteral("Modelul ") + file + QStringLiteral(" este deteriorat si nu poate fi citit!") + kBreak;
    for (const TemplateMenuItem &item : kTemplateMenu)
        if (file.compare(QLatin1String(item.file), Qt::CaseInsensitive) == 0) {
            const QString where = (*item.submenu ? QLatin1String(item.submenu) + QStringLiteral(" - ") : QString()) +
                                  QLatin1String(item.caption);
            return text + QStringLiteral("Refaceti-l la Administrare, din meniul modelelor: ") + where +
                   QStringLiteral(" - ") + QLatin1String(kResetItemCaption) + QLatin1Char('.');
        }
    for (const DataTemplate &t : kDataTemplates)
        if (file.compare(QLatin1String(t.file), Qt::CaseInsensitive) == 0)
            return text + QStringLiteral("Stergeti fisierul ") + file +
                   QStringLiteral(" din directorul de date: la urmatoarea pornire programul il reface din modelul "
                                  "initial.");
    return text + QStringLiteral("Modelul face parte din program: reinstalati programul.");
}

bool RtfTemplateDamaged(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    return !bytes.startsWith("{\\rtf") || !bytes.contains("\\pard");
}

const TemplateMenuItem *FindTemplateMenuItem(const QString &itemName)
{
    for (const TemplateMenuItem &item : kTemplateMenu)
        if (itemName == QLatin1String(item.editItem) || itemName == QLatin1String(item.resetItem))
            return &item;
    return nullptr;
}

void EditTemplate(Ui &ui, const QString &dataFolder, const TemplateMenuItem &item)
{
    ui.message(QStringLiteral("Modificare formulare"),
               QStringLiteral("Dupa modificare, apasati SAVE!") + kBreak +
                   QStringLiteral("Nu modificati textul dintre parantezele patrate!") + kBreak +
                   QStringLiteral("Parantezele patrate vor fi inlocuite cu valori la listare!"),
               MessageKind::Warning, MessageButton::OK);
    ui.openDocument(QString::fromStdString(templatePath(dataFolder, item).string()));
}

bool ResetTemplate(Ui &ui, const QString &dataFolder, const TemplateMenuItem &item)
{
    const QString name = QString::fromLatin1(item.messageName);
    if (ui.message(QStringLiteral("Refacere model"),
                   QStringLiteral("Doriti readucerea modelului de ") + name + QStringLiteral(" la forma initiala?") +
                       kBreak + QStringLiteral("( Acesta trebuie sa fie inchis! )"),
                   MessageKind::Confirmation, MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return false;
    if (!files::deleteUnlessInUse(templatePath(dataFolder, item))) {
        ui.message(QStringLiteral("Initializare model"),
                   kBreak + QStringLiteral("Modelul de ") + name + QStringLiteral(" este deschis!") + kBreak +
                       QStringLiteral("Inchideti-l si mai incercati odata!"),
                   MessageKind::Error, MessageButton::OK);
        return false;
    }
    InstallMissingFiles(dataFolder);
    std::error_code ec;
    if (!std::filesystem::exists(templatePath(dataFolder, item), ec)) {
        // The built-in copy could not be written (folder not writable): say so instead of
        // announcing a template that is not there.
        ui.message(QStringLiteral("Initializare model"),
                   kBreak + QStringLiteral("Modelul de ") + name + QStringLiteral(" nu a putut fi refacut!"),
                   MessageKind::Error, MessageButton::OK);
        return false;
    }
    ui.message(QStringLiteral("Refacere Model"),
               kBreak + QStringLiteral("Modelul de ") + name + QStringLiteral(" a fost refacut!"),
               MessageKind::Information, MessageButton::OK);
    return true;
}

} // namespace focaris
