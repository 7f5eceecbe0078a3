// The shared pieces of the exports: settings, text and number forms, safe file writing
// and the row adapters of the workbook filler.
#include "reports/ExportCommon.h"

#include "admin/AidParameters.h"
#include "admin/Municipality.h"
#include "core/TempFiles.h"
#include "engines/common/FileChanges.h"
#include "reports/CnpCheck.h"
#include "reports/ReportFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace focaris::exports {

ExportSettings LoadExportSettings()
{
    const Municipality m = LoadMunicipality();
    ExportSettings s;
    s.judet = m.judet;
    // The agency files take the fiscal code's digits only ("RO 123456" is 123456); a code
    // that has no digits part stays as typed, so that the checks can name it.
    const QString digits = FiscalDigits(m.sirues);
    s.codFiscal = digits.isEmpty() ? m.sirues.trimmed() : digits;
    s.localit = m.primaria.trimmed();
    s.codJud = m.codJud.trimmed();
    s.uat = m.uat;
    s.tipLoc = LocalityKinds().value(m.tipLoc, LocalityKinds().front());
    s.primar = m.primar.trimmed();
    s.cu1 = LoadAidParameters().cu[0];
    return s;
}

bool ThirteenDigitCnp(const QString &cnp)
{
    if (cnp.size() != 13)
        return false;
    for (QChar c : cnp)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

QString MissingCnpMessage(const QStringList &names)
{
    constexpr int kShown = 20;
    QString text =
        QStringLiteral("\rFisierul nu poate fi facut: persoanele urmatoare nu au CNP sau CNP-ul lor nu are 13 "
                       "cifre:\r");
    text += QStringList(names.mid(0, kShown)).join(QLatin1Char('\r'));
    if (names.size() > kShown)
        text += QStringLiteral("\r... si inca %1").arg(names.size() - kShown);
    return text + QStringLiteral("\rCompletati CNP-urile si incercati din nou!");
}

QString FiscalDigits(const QString &code)
{
    QString t = code.toUpper();
    t.remove(QLatin1Char(' '));
    int first = 0;
    while (first < t.size() && !t[first].isDigit())
        ++first;
    t = t.mid(first);
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return {};
    return t;
}

QString XmlSafe(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
            continue;
        }
        if (c.isSurrogate() || u == 0xFFFE || u == 0xFFFF)
            continue;
        if (u < 0x20 && u != 0x09 && u != 0x0A && u != 0x0D)
            continue;
        out += c;
    }
    return out;
}

QString NumberText(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (value == 0)
        return QStringLiteral("0");
    // Fifteen significant digits, as the older installations printed floating values:
    // 1768.5 / 90 * 100 prints 1965, not 1965.0000000000002.
    const int magnitude = int(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::max(0, 14 - magnitude);
    QString t = QString::number(value, 'f', std::min(decimals, 15));
    if (t.contains(QLatin1Char('.'))) {
        while (t.endsWith(QLatin1Char('0')))
            t.chop(1);
        if (t.endsWith(QLatin1Char('.')))
            t.chop(1);
    }
    if (t == QLatin1String("-0"))
        t = QStringLiteral("0");
    return t;
}

qint64 RoundedWhole(double value)
{
    return Amount::fromDouble(value).rounded(0).truncated();
}

QString FamilyName(const QString &name)
{
    const QString t = name.trimmed();
    const qsizetype blank = t.indexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : t.left(blank).trimmed();
}

QString GivenNames(const QString &name)
{
    const QString t = name.trimmed();
    const qsizetype blank = t.indexOf(QLatin1Char(' '));
    return blank < 0 ? t : t.mid(blank + 1).trimmed();
}

QString TextOf(const sql::Value &value)
{
    if (value.isNull())
        return {};
    return QString::fromStdString(value.toString()).trimmed();
}

double NumberOf(const sql::Value &value)
{
    return value.isNull() ? 0.0 : value.toDouble();
}

void CommitFile(const QString &path, const QByteArray &bytes)
{
    // Written beside the target under a scratch name noted for the start-up, flushed, then
    // renamed over it (reports::WriteThroughTemp).
    reports::WriteThroughTemp(path, [&](const QString &temporary) {
        QFile file(temporary);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
            !file.flush())
            throw std::runtime_error(
                QStringLiteral("Fisierul %1 nu poate fi scris: %2").arg(path, file.errorString()).toStdString());
    });
}

void RenameOver(const QString &source, const QString &target)
{
    if (!files::commitRename(QFile::encodeName(source).toStdString(), QFile::encodeName(target).toStdString()))
        throw std::runtime_error(QStringLiteral("Fisierul %1 nu poate fi scris: %2")
                                     .arg(target, QString::fromLocal8Bit(std::strerror(errno)))
                                     .toStdString());
}

void MoveInto(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("Fisierul %1 nu poate fi citit: %2").arg(source, in.errorString()).toStdString());
    const QByteArray bytes = in.readAll();
    in.close();
    CommitFile(target, bytes);
    QFile::remove(source);
}

namespace {
QString resolved(const QString &path)
{
    // The path may not exist yet: resolve its nearest existing folder and keep the rest.
    QFileInfo info(QDir::cleanPath(QDir(path).absolutePath()));
    QStringList rest;
    while (!info.exists() && !info.isRoot() && !info.fileName().isEmpty()) {
        rest.prepend(info.fileName());
        info = QFileInfo(info.absolutePath());
    }
    QString base = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    for (const QString &part : rest)
        base += QLatin1Char('/') + part;
    return QDir::cleanPath(base);
}
} // namespace

bool IsInside(const QString &path, const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QString p = resolved(path);
    const QString f = resolved(folder);
    return p.compare(f, Qt::CaseInsensitive) == 0 || p.startsWith(f + QLatin1Char('/'), Qt::CaseInsensitive);
}

xls::FieldValue MemoryRows::text(const QString &t)
{
    if (t.isEmpty())
        return {};
    return {xls::FieldValue::Kind::Text, t.toStdString(), 0};
}

xls::FieldValue MemoryRows::number(double n)
{
    return {xls::FieldValue::Kind::Number, {}, n};
}

xls::WorkbookFiller::Hooks FillerHooks(Ui &ui)
{
    xls::WorkbookFiller::Hooks hooks;
    hooks.newOutputName = [] { return NewTempFile(QStringLiteral("XLSTmp"), QStringLiteral(".xls")).toStdString(); };
    hooks.openDocument = [&ui](const std::string &path) { ui.openDocument(QString::fromStdString(path)); };
    hooks.processEvents = [] {};
    return hooks;
}

} // namespace focaris::exports
