// The export of a grid as it is shown (see GridExport.h). Each format is built in memory
// and written through QSaveFile, so nothing half-written ever stands under the name.
#include "documents/GridExport.h"

#include "documents/ResourceStore.h"
#include "engines/dbase/DbfDump.h"
#include "engines/rtf/RTFReplace.h"
#include "engines/xls/XCell.h"

#include <QAbstractItemModel>
#include <QSaveFile>

#include <exception>
#include <string>

namespace focaris {
namespace {

// The .xls format holds 65,536 rows and 256 columns per sheet; one row goes to the titles.
constexpr int kXlsMaxRows = 65535;
constexpr int kXlsMaxColumns = 256;

QString shown(const QAbstractItemModel &model, int row, int column)
{
    return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float: return true;
    default: return false;
    }
}

QByteArray xlsBytes(const QAbstractItemModel &model, const QList<GridColumn> &columns, QString &error)
{
    if (model.rowCount() > kXlsMaxRows || columns.size() > kXlsMaxColumns) {
        error = QStringLiteral("Tabelul este prea mare pentru formatul XLS (cel mult %1 randuri si %2 coloane)!")
                    .arg(kXlsMaxRows)
                    .arg(kXlsMaxColumns);
        return {};
    }
    const auto blank = ResourceBytes(QStringLiteral("Grila"), QStringLiteral("GRILA"));
    if (!blank) {
        error = QStringLiteral("Programul nu are modelul de registru pentru export!");
        return {};
    }
    xls::XCell book = xls::XCell::fromBytes(std::string_view(blank->constData(), std::size_t(blank->size())));
    for (int c = 0; c < columns.size(); ++c)
        book.setText(1, c + 1, columns[c].title.toStdString());
    for (int r = 0; r < model.rowCount(); ++r) {
        for (int c = 0; c < columns.size(); ++c) {
            const QModelIndex index = model.index(r, columns[c].column);
            const QVariant value = model.data(index, Qt::EditRole);
            if (isNumber(value))
                book.setNumber(r + 2, c + 1, value.toDouble());
            else
                book.setText(r + 2, c + 1, model.data(index, Qt::DisplayRole).toString().toStdString());
        }
    }
    const std::string bytes = book.toBytes();
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

QString htmlEscaped(const QString &text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;"));
}

QByteArray htmlBytes(const QAbstractItemModel &model, const QList<GridColumn> &columns)
{
    QString out = QStringLiteral("<!DOCTYPE html>\n<html lang=\"ro\">\n<head>\n<meta charset=\"utf-8\">\n"
                                 "<title>Export Grila</title>\n</head>\n<body>\n<table border=\"1\">\n<tr>");
    for (const GridColumn &c : columns)
        out += QStringLiteral("<th>") + htmlEscaped(c.title) + QStringLiteral("</th>");
    out += QStringLiteral("</tr>\n");
    for (int r = 0; r < model.rowCount(); ++r) {
        out += QStringLiteral("<tr>");
        for (const GridColumn &c : columns)
            out += QStringLiteral("<td>") + htmlEscaped(shown(model, r, c.column)) + QStringLiteral("</td>");
        out += QStringLiteral("</tr>\n");
    }
    out += QStringLiteral("</table>\n</body>\n</html>\n");
    return out.toUtf8();
}

// CSV and text: one line a row, CR LF between lines, UTF-8 with a byte-order mark so
// that spreadsheet programs on Windows read the Romanian letters.
QByteArray delimitedBytes(const QAbstractItemModel &model, const QList<GridColumn> &columns, bool csv)
{
    std::string out = "\xEF\xBB\xBF";
    const auto field = [csv](const QString &value) {
        if (csv)
            return dbf::csvField(value.toStdString(), ';');
        // A tab or a line break inside a value would start a new column or row.
        QString flat = value;
        for (QChar &ch : flat)
            if (ch == QLatin1Char('\t') || ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))
                ch = QLatin1Char(' ');
        return flat.toStdString();
    };
    const char separator = csv ? ';' : '\t';
    for (int c = 0; c < columns.size(); ++c) {
        if (c)
            out += separator;
        out += field(columns[c].title);
    }
    out += "\r\n";
    for (int r = 0; r < model.rowCount(); ++r) {
        for (int c = 0; c < columns.size(); ++c) {
            if (c)
                out += separator;
            out += field(shown(model, r, columns[c].column));
        }
        out += "\r\n";
    }
    return QByteArray(out.data(), qsizetype(out.size()));
}

// A value as RTF text, exactly as shown: backslashes, braces, tabs and line breaks are
// written as RTF controls, everything else through the RTF engine's value escaping
// (Unicode with Windows-1250 fallbacks).
std::string rtfText(const QString &value)
{
    std::string out;
    QString chunk;
    const auto flush = [&] {
        if (!chunk.isEmpty())
            out += rtf::escapeRtfValueUnicode(chunk.toStdString());
        chunk.clear();
    };
    for (const QChar ch : value) {
        const char *control = nullptr;
        switch (ch.unicode()) {
        case '\\': control = "\\\\"; break;
        case '{': control = "\\{"; break;
        case '}': control = "\\}"; break;
        case '\t': control = "\\tab "; break;
        case '\n': control = "\\line "; break;
        case '\r': control = ""; break;
        default: break;
        }
        if (!control) {
            chunk += ch;
            continue;
        }
        flush();
        out += control;
    }
    flush();
    return out;
}

// A landscape A4 page with one table; the title row repeats on every page.
QByteArray rtfBytes(const QAbstractItemModel &model, const QList<GridColumn> &columns)
{
    std::string out = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}"
                      "\\paperw16838\\paperh11906\\landscape\\margl567\\margr567\\margt567\\margb567"
                      "\\f0\\fs16\n";
    const int usable = 16838 - 2 * 567;
    const int width = columns.isEmpty() ? usable : usable / int(columns.size());
    // Each cell draws its bottom and right lines, the first cell its left line too and
    // the title cells their top line: the grid's lines without drawing any twice.
    const auto cellDefs = [&](bool title) {
        std::string defs;
        for (int c = 0; c < columns.size(); ++c) {
            if (c == 0)
                defs += "\\clbrdrl\\brdrs";
            if (title)
                defs += "\\clbrdrt\\brdrs";
            defs += "\\clbrdrb\\brdrs\\clbrdrr\\brdrs\\cellx" + std::to_string(width * (c + 1));
        }
        return defs;
    };
    const std::string rowStart = "\\trowd\\trgaph30" + cellDefs(false) + "\n";
    out.reserve(std::size_t(model.rowCount() + 1) * (rowStart.size() + std::size_t(columns.size()) * 32));
    out += "\\trowd\\trhdr\\trgaph30" + cellDefs(true) + "\n";
    for (const GridColumn &c : columns)
        out += "\\pard\\intbl\\b " + rtfText(c.title) + "\\b0\\cell";
    out += "\\row\n";
    for (int r = 0; r < model.rowCount(); ++r) {
        // The paragraph settings of the first cell hold for the row's other cells.
        out += rowStart;
        out += "\\pard\\intbl ";
        for (const GridColumn &c : columns) {
            out += rtfText(shown(model, r, c.column));
            out += "\\cell ";
        }
        out += "\\row\n";
    }
    out += "\\pard\\par\n}\n";
    return QByteArray(out.data(), qsizetype(out.size()));
}

} // namespace

QList<GridFormat> GridFormats()
{
    return {GridFormat::Xls, GridFormat::Html, GridFormat::Csv, GridFormat::Txt, GridFormat::Rtf, GridFormat::Doc};
}

QString GridFormatCaption(GridFormat format)
{
    return GridFormatSuffix(format).toUpper();
}

QString GridFormatSuffix(GridFormat format)
{
    switch (format) {
    case GridFormat::Xls: return QStringLiteral("xls");
    case GridFormat::Html: return QStringLiteral("html");
    case GridFormat::Csv: return QStringLiteral("csv");
    case GridFormat::Txt: return QStringLiteral("txt");
    case GridFormat::Rtf: return QStringLiteral("rtf");
    case GridFormat::Doc: return QStringLiteral("doc");
    }
    return {};
}

QList<GridColumn> AllGridColumns(const QAbstractItemModel &model)
{
    QList<GridColumn> columns;
    for (int c = 0; c < model.columnCount(); ++c)
        columns.append({c, model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()});
    return columns;
}

bool ExportGrid(const QAbstractItemModel &model, const QList<GridColumn> &columns, GridFormat format,
                const QString &path, QString &error)
{
    QByteArray bytes;
    try {
        switch (format) {
        case GridFormat::Xls: bytes = xlsBytes(model, columns, error); break;
        case GridFormat::Html: bytes = htmlBytes(model, columns); break;
        case GridFormat::Csv: bytes = delimitedBytes(model, columns, true); break;
        case GridFormat::Txt: bytes = delimitedBytes(model, columns, false); break;
        case GridFormat::Rtf:
        case GridFormat::Doc: bytes = rtfBytes(model, columns); break;
        }
    } catch (const std::exception &e) {
        error = QString::fromUtf8(e.what());
        return false;
    }
    if (!error.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = QStringLiteral("Nu pot scrie fisierul ") + path + QStringLiteral("!");
        return false;
    }
    return true;
}

} // namespace focaris
