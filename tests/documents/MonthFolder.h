// A small data folder worked out by hand for the documents of the month: the office's
// settings, the built-in templates and nine applications of November 2025 (grants,
// a modification, rejections; disposition numbers "2", "9", "10", blank and "0"; a CNP of
// each sex and an empty one; an empty locality; a percentage of 80.5 and a total of
// 1769.5; a gas-only supplement; names of one and three words and names with Ă), plus
// one application of another month that no document may show.
#pragma once

#include "FakeUi.h"
#include "TestSupport.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace focaris::test {

class MonthFolder : public ::testing::Test {
protected:
    void SetUp() override;

    // Runs a statement on the folder's tables.
    static void exec(const QString &statement);
    QString data() const; // the data folder
    // A file of the scratch folder.
    QString file(const QString &name) const { return tmp.qpath() + QLatin1Char('/') + name; }
    // Writes an RTF template into the data folder: one paragraph "KEY=[key]" per key,
    // each key written with a small letter so that values print as given, and a line
    // "RECORD" that starts every copy of the body.
    void writeKeyTemplate(const QString &name, const QStringList &keys, bool untilMarker = false) const;

    TempDir tmp;
    FakeUi ui;
};

// A document converted to text by LibreOffice: the body copies, each as KEY → value from
// the lines "KEY=value" of a key template.
using Record = std::map<std::string, std::string>;
std::vector<Record> recordsOf(const std::string &text);

// Converts files with LibreOffice in one run: `filter` as for --convert-to ("txt:Text",
// "csv:..."); the converted files go into `outDir`. False when LibreOffice is missing.
bool convertWithLibreOffice(const QStringList &files, const QString &filter, const QString &outDir);
bool haveLibreOffice();
// Copies a filled document into FOCARIS_SAMPLES under `name` when that folder is given
// (interop/document_samples.sh renders them into docs/samples).
void keepSample(const QString &file, const QString &name);

// The cells of every sheet of a workbook read by python3-xlrd: one line per non-empty or
// formatted cell "SHEET,ROW,COL,TYPE,VALUE" (rows and columns from 1; TYPE as xlrd's
// ctype: 0 empty, 1 text, 2 number, 3 date, 4 boolean, 5 error, 6 blank).
std::vector<std::string> xlrdCells(const QString &workbook);

} // namespace focaris::test
