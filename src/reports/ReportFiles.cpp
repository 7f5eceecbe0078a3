// File names, templates, whole files and whole output folders of the reports.
#include "reports/ReportFiles.h"

#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/TempFiles.h"
#include "documents/TemplateDamage.h"
#include "engines/xls/Bytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <stdexcept>

namespace focaris::reports {

namespace {

const QString kInUse = QStringLiteral("Inchideti toate fisierele deschise din el si reincercati!");

bool anyFileInUse(const QString &folder)
{
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        if (FileInUse(it.next()))
            return true;
    return false;
}

// A name beside `path` that does not exist yet: ".NAME.TAG" + n.
QString besideName(const QString &path, const QString &tag)
{
    const QFileInfo info(path);
    for (int n = 0;; ++n) {
        const QString candidate = info.dir().filePath(QLatin1Char('.') + info.fileName() + tag + QString::number(n));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

} // namespace

QString SafeFileNames::clean(const QString &typed)
{
    QString out;
    out.reserve(typed.size());
    for (const QChar ch : typed) {
        const bool bad = ch.unicode() < 0x20 || ch.unicode() == 0x7f || ch == QLatin1Char('/') ||
                         ch == QLatin1Char('\\') || QStringLiteral("<>:\"|?*").contains(ch);
        out += bad ? QLatin1Char('_') : ch;
    }
    out = out.trimmed();
    out.replace(QStringLiteral(".."), QStringLiteral("__"));
    // Windows drops trailing dots and blanks, which would make two names one.
    while (!out.isEmpty() && (out.endsWith(QLatin1Char('.')) || out.endsWith(QLatin1Char(' '))))
        out[out.size() - 1] = QLatin1Char('_');
    static const QRegularExpression reserved(QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (reserved.match(out).hasMatch())
        out += QLatin1Char('_');
    return out;
}

QString SafeFileNames::nameFor(const QString &typed)
{
    const auto found = given_.constFind(typed);
    if (found != given_.constEnd())
        return *found;
    const QString base = clean(typed);
    QString name = base;
    int &count = used_[base.toLower()];
    ++count;
    if (count > 1) {
        // "_2" may itself be taken by a typed name that already ends in "_2".
        for (int n = count;; ++n) {
            name = base + QLatin1Char('_') + QString::number(n);
            if (!used_.contains(name.toLower()))
                break;
        }
        used_[name.toLower()] = 1;
    }
    given_.insert(typed, name);
    return name;
}

bool OpenReportTemplate(Ui &ui, xls::WorkbookFiller &filler, const QString &path, const QString &title)
{
    bool opened = false;
    try {
        opened = !path.isEmpty() && filler.OpenTemplate(path.toStdString());
    } catch (const xls::XlsError &) {
        // The file is there but is no workbook the filler can read.
        ui.message(title, DamagedTemplateMessage(path), MessageKind::Error, MessageButton::OK);
        return false;
    }
    if (!opened)
        ui.message(title, QStringLiteral("\rNu exista modelul ") + path + QStringLiteral("!"), MessageKind::Error,
                   MessageButton::OK);
    return opened;
}

xls::WorkbookFiller::Hooks ReportFillerHooks()
{
    xls::WorkbookFiller::Hooks hooks;
    hooks.newOutputName = [] { return NewTempFile(QStringLiteral("XLSTmp"), QStringLiteral(".xls")).toStdString(); };
    // The windows keep painting while thousands of rows are filled; every 256th row is
    // often enough and costs nothing measurable.
    hooks.processEvents = [n = 0]() mutable {
        if (++n % 256 == 0)
            QCoreApplication::processEvents();
    };
    return hooks;
}

namespace {
std::filesystem::path fsPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}
} // namespace

std::unique_ptr<files::OutsideWrite> OutsideNote(const QString &target)
{
    const QString folder = ProgramFolder();
    return std::make_unique<files::OutsideWrite>(folder.isEmpty() ? std::filesystem::path() : fsPath(folder),
                                                 fsPath(target));
}

void WriteThroughTemp(const QString &target, const std::function<void(const QString &)> &write)
{
    const QString temporary = besideName(target, QStringLiteral(".part"));
    const auto note = OutsideNote(target);
    note->note({fsPath(temporary)});
    try {
        files::beforeChange(fsPath(temporary));
        write(temporary);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    if (!files::commitRename(fsPath(temporary), fsPath(target))) {
        QFile::remove(temporary);
        throw std::runtime_error(("Fisierul " + target + " nu poate fi scris!").toStdString());
    }
}

ReportFolder::~ReportFolder()
{
    if (!committed_ && !staging_.isEmpty())
        QDir(staging_).removeRecursively();
}

bool ReportFolder::choose(Ui &ui, const QString &title, const QString &caption, const QString &name)
{
    QString parent;
    return SettingsReady(ui) && ui.chooseFolder(caption, parent) && prepare(ui, title, parent, name);
}

bool ReportFolder::prepare(Ui &ui, const QString &title, const QString &parent, const QString &name)
{
    target_ = QDir(parent).filePath(name);
    if (QFileInfo::exists(target_)) {
        const QString shown = QDir::toNativeSeparators(target_);
        if (ui.message(title, QStringLiteral("\rDirectorul ") + shown + QStringLiteral(" exista deja!\rIl inlocuim?"),
                       MessageKind::Warning, MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
            return false;
        if (!QFileInfo(target_).isDir() || anyFileInUse(target_)) {
            ui.message(title,
                       QStringLiteral("\rDirectorul ") + shown + QStringLiteral(" nu poate fi inlocuit!\r") + kInUse,
                       MessageKind::Error, MessageButton::OK);
            return false;
        }
    }
    staging_ = besideName(target_, QStringLiteral(".part"));
    aside_ = besideName(target_, QStringLiteral(".old"));
    note_ = OutsideNote(target_);
    note_->note({fsPath(staging_)}, fsPath(aside_));
    files::beforeChange(fsPath(staging_));
    if (!QDir().mkpath(staging_))
        throw std::runtime_error(("Directorul " + staging_ + " nu poate fi creat!").toStdString());
    return true;
}

QString ReportFolder::staged(const QString &relative) const
{
    return relative.isEmpty() ? staging_ : QDir(staging_).filePath(relative);
}

QString ReportFolder::final(const QString &relative) const
{
    return relative.isEmpty() ? target_ : QDir(target_).filePath(relative);
}

bool ReportFolder::commit(Ui &ui, const QString &title)
{
    QString old;
    if (QFileInfo::exists(target_)) {
        old = QFileInfo::exists(aside_) ? besideName(target_, QStringLiteral(".old")) : aside_;
        files::beforeChange(fsPath(old));
        if (anyFileInUse(target_) || !QDir().rename(target_, old)) {
            ui.message(title,
                       QStringLiteral("\rDirectorul ") + QDir::toNativeSeparators(target_) +
                           QStringLiteral(" nu poate fi inlocuit!\r") + kInUse,
                       MessageKind::Error, MessageButton::OK);
            return false;
        }
    }
    files::beforeChange(fsPath(target_));
    if (!QDir().rename(staging_, target_)) {
        if (!old.isEmpty())
            QDir().rename(old, target_);
        throw std::runtime_error(("Directorul " + target_ + " nu poate fi creat!").toStdString());
    }
    files::syncFolder(fsPath(QFileInfo(target_).absolutePath()));
    committed_ = true;
    if (!old.isEmpty()) {
        files::beforeChange(fsPath(old));
        QDir(old).removeRecursively();
    }
    note_.reset();
    return true;
}

void ReportRows::addColumn(const std::string &name, xls::ColumnKind kind)
{
    columns_.emplace_back(name, kind);
}

xls::FieldValue ReportRows::text(const QString &t)
{
    return {xls::FieldValue::Kind::Text, t.toStdString(), 0};
}

xls::FieldValue ReportRows::number(double n)
{
    return {xls::FieldValue::Kind::Number, {}, n};
}

bool RowsFit(Ui &ui, xls::WorkbookFiller &filler, std::size_t rows, const QString &annex, const QString &title)
{
    const int last = filler.workbook() ? filler.workbook()->lastRow() : 0;
    const std::size_t needed = std::size_t(last) + (rows > 0 ? rows - 1 : 0);
    if (needed <= std::size_t(kXlsMaxRows))
        return true;
    ui.message(title,
               QStringLiteral("\rAnexa ") + annex + QStringLiteral(" nu incape intr-o foaie .xls: ") +
                   QString::number(qulonglong(needed)) + QStringLiteral(" randuri, cel mult 65536!"),
               MessageKind::Error, MessageButton::OK);
    return false;
}

} // namespace focaris::reports
