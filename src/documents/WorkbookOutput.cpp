// Where a filled workbook goes.
#include "documents/WorkbookOutput.h"

#include "core/Context.h"
#include "core/TempFiles.h"
#include "documents/TemplateDamage.h"
#include "engines/xls/Bytes.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace focaris::documents {

WorkbookOutput::WorkbookOutput(Ui &ui, const QString &title, const QString &out)
    : ui_(ui),
      title_(title),
      show_(out.isEmpty()),
      filler_(xls::WorkbookFiller::Hooks{[this] { return scratch_.toStdString(); },
                                         {},
                                         [this] {
                                             // The window keeps painting while a sheet fills; every 256 records is enough
                                             // for that and costs nothing measurable.
                                             if (++filled_ % 256 == 0)
                                                 QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                                         }})
{
    target_ =
        out.isEmpty() ? NewDocumentFile(TempFolder() + QStringLiteral("/TmpFoc/XLSTmp"), QStringLiteral(".xls")) : out;
    if (!target_.isEmpty() && FileInUse(target_))
        target_.clear();
    if (!target_.isEmpty()) {
        const QFileInfo info(target_);
        scratch_ = info.absolutePath() + QStringLiteral("/.~") + info.fileName() + QStringLiteral(".part");
        QFile::remove(scratch_);
    }
}

WorkbookOutput::~WorkbookOutput()
{
    if (!scratch_.isEmpty())
        QFile::remove(scratch_);
}

bool WorkbookOutput::openTemplate(const QString &model)
{
    if (!writable()) {
        ui_.message(title_, QStringLiteral("Nu pot scrie pe harddisk!"), MessageKind::Error, MessageButton::OK);
        return false;
    }
    bool opened = false;
    try {
        opened = filler_.OpenTemplate(model.toStdString());
    } catch (const xls::XlsError &) {
        ui_.message(title_, DamagedTemplateMessage(model), MessageKind::Error, MessageButton::OK);
        return false;
    }
    if (!opened) {
        ui_.message(title_, QStringLiteral("Nu exista modelul ") + model + QStringLiteral("!"), MessageKind::Error,
                    MessageButton::OK);
        return false;
    }
    return true;
}

Outcome WorkbookOutput::finish()
{
    filler_.CloseResult(false);
    // rename replaces the target in one step: a reader sees the old file or the new one.
    std::error_code ec;
    if (FileInUse(target_) || (std::filesystem::rename(scratch_.toStdString(), target_.toStdString(), ec), bool(ec))) {
        ui_.message(title_, QStringLiteral("Nu pot scrie pe harddisk!"), MessageKind::Error, MessageButton::OK);
        return {};
    }
    if (show_)
        ui_.openDocument(target_);
    return Outcome::Done(target_);
}

} // namespace focaris::documents
