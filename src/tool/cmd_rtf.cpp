// focaris-tool rtf and resource: filling an RTF template from a CSV file of records, and
// listing or extracting the program's embedded files.
#include "tool/Command.h"

#include "documents/ResourceStore.h"
#include "engines/rtf/RTFReplace.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

using focaris::tool::Args;
using Row = std::vector<std::string>;

const char *kRtfUsage = "rtf fill TEMPLATE OUTPUT --values FILE.csv [--until MARKER]";
const char *kResourceUsage = "resource list | resource extract NAME TYPE FILE";

// Comma-separated values in UTF-8: fields in double quotes may hold commas, line breaks
// and doubled quotes; rows end with LF or CR LF; a leading byte-order mark is skipped and
// blank lines are ignored.
std::vector<Row> readCsv(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);

    std::vector<Row> rows;
    Row row;
    std::string field;
    bool quoted = false, rowHasData = false;
    auto endField = [&] {
        row.push_back(field);
        field.clear();
    };
    auto endRow = [&] {
        endField();
        if (rowHasData || row.size() > 1)
            rows.push_back(row);
        row.clear();
        rowHasData = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = rowHasData = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\n') {
            endRow();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        } else {
            field += c;
            rowHasData = true;
        }
    }
    if (quoted)
        throw std::runtime_error(path + ": a quoted field is not closed");
    if (rowHasData || !row.empty())
        endRow();
    return rows;
}

void queueRecord(focaris::rtf::TRTFReplace &engine, const Row &keys, const Row &values, std::size_t rowNumber)
{
    if (values.size() > keys.size())
        throw std::runtime_error("row " + std::to_string(rowNumber) + " has more fields than the header");
    for (std::size_t i = 0; i < keys.size(); ++i)
        engine.AddValue(keys[i], i < values.size() ? values[i] : std::string());
}

int rtfCommand(const Args &all)
{
    Args args = all;
    if (args.empty() || args[0] != "fill")
        throw std::runtime_error(std::string("usage: focaris-tool ") + kRtfUsage);
    args.erase(args.begin());
    const std::string valuesFile = focaris::tool::takeOption(args, "--values");
    const bool until = std::find(args.begin(), args.end(), "--until") != args.end();
    const std::string marker = focaris::tool::takeOption(args, "--until");
    focaris::tool::expectCount(args, 2, kRtfUsage);
    if (valuesFile.empty())
        throw std::runtime_error(std::string("usage: focaris-tool ") + kRtfUsage);

    const std::vector<Row> rows = readCsv(valuesFile);
    if (rows.empty())
        throw std::runtime_error(valuesFile + " has no header row");
    const Row &keys = rows[0];

    focaris::rtf::TRTFReplace engine;
    engine.RTFSursa = args[0];
    engine.RTFDest = args[1];
    if (!engine.BeginDocument())
        throw std::runtime_error("cannot start " + args[1] + " from " + args[0] +
                                 " (template missing, unreadable, empty or without \\pard, or output not writable)");
    std::size_t records = 0;
    if (until) {
        if (rows.size() > 1) {
            queueRecord(engine, keys, rows[1], 2);
            records = 1;
        }
        engine.EmitBodyUntil(marker);
    } else {
        for (std::size_t r = 1; r < rows.size(); ++r) {
            if (r > 1)
                engine.PageBreak();
            queueRecord(engine, keys, rows[r], r + 1);
            engine.EmitBody(1);
            ++records;
        }
    }
    engine.EndDocument();
    std::printf("records: %zu\n", records);
    return 0;
}

int resourceCommand(const Args &args)
{
    if (!args.empty() && args[0] == "list") {
        focaris::tool::expectCount(args, 1, kResourceUsage);
        for (const focaris::ResourceInfo &r : focaris::ListResources())
            std::printf("%s\t%s\t%s\t%lld\t%s\n", r.type.toUtf8().constData(), r.name.toUtf8().constData(),
                        r.suffix.toUtf8().constData(), static_cast<long long>(r.size),
                        r.placeholder ? "placeholder" : "built-in");
        return 0;
    }
    if (!args.empty() && args[0] == "extract") {
        focaris::tool::expectCount(args, 4, kResourceUsage);
        const QString name = QString::fromStdString(args[1]);
        const QString type = QString::fromStdString(args[2]);
        if (!focaris::FindResource(name, type))
            throw std::runtime_error("no resource " + args[1] + " of type " + args[2]);
        if (!focaris::ExtractResource(name, type, QString::fromStdString(args[3])))
            throw std::runtime_error("cannot write " + args[3] + " (in use or not writable)");
        return 0;
    }
    throw std::runtime_error(std::string("usage: focaris-tool ") + kResourceUsage);
}

focaris::tool::Registration rtfRegistration("rtf", kRtfUsage, rtfCommand);
focaris::tool::Registration resourceRegistration("resource", kResourceUsage, resourceCommand);

} // namespace
