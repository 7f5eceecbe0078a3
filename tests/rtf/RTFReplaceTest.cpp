// The template engine on small templates written in the tests: where the header ends,
// how far a body reaches, how values are placed, repeated and escaped, and how the
// document is put together from its pieces.
#include "engines/rtf/RTFReplace.h"

#include "engines/common/Codepage.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using focaris::rtf::TRTFReplace;
using namespace focaris::test;

namespace {

class RtfEngine : public ::testing::Test {
protected:
    TempDir dir;
    TRTFReplace engine;

    // Writes the template, points the engine at it and at a fresh output.
    void useTemplate(const std::string &text)
    {
        writeFile(dir / "model.rtf", text);
        engine.RTFSursa = (dir / "model.rtf").string();
        engine.RTFDest = (dir / "out.rtf").string();
    }
    std::string output() const { return readFile(dir / "out.rtf"); }

    // Header, one body with the given values, closing line.
    std::string fillOnce(const std::string &text, const std::vector<std::pair<std::string, std::string>> &values)
    {
        useTemplate(text);
        EXPECT_TRUE(engine.BeginDocument());
        for (const auto &[k, v] : values)
            engine.AddValue(k, v);
        engine.EmitBody(1);
        engine.EndDocument();
        return output();
    }
};

const std::string kSimple = "{\\rtf1\\ansi\r\n{\\fonttbl{\\f0 Arial;}}\r\n"
                            "\\pard\\plain [NUME]\\par\r\n}\r\n";

TEST_F(RtfEngine, HeaderEndsAtTheFirstPardAndKeepsTheTrimmedTextBeforeIt)
{
    std::string out = fillOnce("{\\rtf1\\ansi\r\n{\\colortbl;}\r\n  {\\stylesheet} \\pard A\\par\r\n"
                               "\\pard B\\par\r\n}\r\n",
                               {});
    EXPECT_EQ(out, "{\\rtf1\\ansi\r\n{\\colortbl;}\r\n{\\stylesheet}\r\n"
                   "\\pard A\\par\r\n\\pard B\\par\r\n}\r\n");
}

TEST_F(RtfEngine, BodyFollowsNestedBracesAcrossLinesAndDropsOnlyTheClosingBrace)
{
    // The table row spans lines with nested groups; the body ends at the brace that
    // closes the document, and what follows it is not part of the body.
    std::string tpl = "{\\rtf1\r\n\\pard {\\b [NUME]\r\n{\\i x}\r\n}\\par\r\n"
                      "{\\trowd \\cell}\r\n}\r\nTRAILING\r\n";
    std::string out = fillOnce(tpl, {{"[NUME]", "Ion"}});
    EXPECT_EQ(out, "{\\rtf1\r\n\\pard {\\b ION\r\n{\\i x}\r\n}\\par\r\n{\\trowd \\cell}\r\n}\r\n");

    // A body on one line: "\pard Text}" gives "\pard Text".
    EXPECT_EQ(fillOnce("{\\rtf1\r\n\\pard Text}\r\n", {}), "{\\rtf1\r\n\\pard Text\r\n}\r\n");
    // Braces that never close: the body runs to the end; the last line loses its last byte.
    EXPECT_EQ(fillOnce("{\\rtf1\r\n\\pard {A\r\nB}\r\nC  \r\n", {}), "{\\rtf1\r\n\\pard {A\r\nB}\r\n}\r\n");
}

TEST_F(RtfEngine, LineEndsAreNormalisedToCrLf)
{
    EXPECT_EQ(fillOnce("{\\rtf1\n\\pard A\\par\n}", {}), "{\\rtf1\r\n\\pard A\\par\r\n}\r\n");
}

// Templates in the built-in templates' code page take values as Windows-1250 bytes.
const std::string kHead1250 = "{\\rtf1\\ansi\\ansicpg1250\r\n";

TEST_F(RtfEngine, PlaceholdersMatchWithoutCaseAndUpperCaseOnlyLongCapitalKeys)
{
    std::string tpl = kHead1250 + "\\pard [NUME]|[Nume]|[nume]|[NR]|[ADR]\\par\r\n}\r\n";
    std::string out = fillOnce(tpl, {{"[NUME]", "Popescu Ion ăîșâ"}, {"[NR]", "ab"}, {"[ADR]", "str. mare"}});
    // The Romanian letters are put in capitals with the others (ș, which the code page
    // lacks, printed as Ş); "[NR]" and "[ADR]" (4 and 5 characters) differ because only
    // placeholders longer than 4 characters change their values.
    std::string cp = focaris::text::utf8ToCp1250("POPESCU ION ĂÎŞÂ|Popescu Ion ăîşâ|Popescu Ion ăîşâ|ab|STR. MARE");
    const std::string capitalS = "\\'aa", capitalT = "\\'de";
    cp.replace(cp.find("\xAA"), 1, capitalS);
    EXPECT_EQ(out, kHead1250 + "\\pard " + cp + "\\par\r\n}\r\n");
    out = fillOnce(kHead1250 + "\\pard UAT [UAT1]\\par\r\n}\r\n", {{"[UAT1]", "Sâncraiu de Mureş, Ţara Haţegului"}});
    EXPECT_EQ(out, kHead1250 + "\\pard UAT " + focaris::text::utf8ToCp1250("SÂNCRAIU DE MURE") + capitalS + ", " +
                       capitalT + "ARA HA" + capitalT + "EGULUI\\par\r\n}\r\n");
}

TEST_F(RtfEngine, EmptyValuesLeaveTenDotsAndShortKeysDoNotMatchInsideLongerOnes)
{
    std::string out = fillOnce("{\\rtf1\r\n\\pard [NR] [NR1] [NR2] [NR]\\par\r\n}\r\n",
                               {{"[NR]", ""}, {"[NR1]", "7"}, {"[NR2]", "x"}});
    EXPECT_EQ(out, "{\\rtf1\r\n\\pard .......... 7 X ..........\\par\r\n}\r\n");
}

TEST_F(RtfEngine, ValuesAreEscapedAndConvertedToTheTemplateCodePage)
{
    // Ș (comma below) becomes Ş (0xAA), then escaped; braces become parentheses; a
    // backslash is doubled so that it prints as typed; other letters pass unchanged; a
    // value holding its own placeholder is not replaced again.
    const std::string tpl = "\\pard [Nume] [Oras] [K] [NUME]\\par\r\n}\r\n";
    const std::vector<std::pair<std::string, std::string>> values = {
        {"[Nume]", "Ştefan {Ion}"}, {"[Oras]", "Țăndărei ș\\"}, {"[K]", "a[K]b"}};
    std::string out = fillOnce(kHead1250 + tpl, values);
    std::string expected =
        "\\'aatefan (Ion) \\'de" + focaris::text::utf8ToCp1250("ăndărei ş") + "\\\\ a[K]b \\'aaTEFAN (ION)";
    EXPECT_EQ(out, kHead1250 + "\\pard " + expected + "\\par\r\n}\r\n");

    // A template saved in another code page (LibreOffice on Linux writes 1252) gets the
    // letters as Unicode characters, with the Windows-1250 byte as fallback.
    const std::string head1252 = "{\\rtf1\\ansi\\ansicpg1252\r\n";
    out = fillOnce(head1252 + tpl, values);
    expected = "{\\uc1\\u350\\'aa}tefan (Ion) {\\uc1\\u354\\'de}{\\uc1\\u259\\'e3}nd{\\uc1\\u259\\'e3}rei "
               "{\\uc1\\u351\\'ba}\\\\ a[K]b {\\uc1\\u350\\'aa}TEFAN (ION)";
    EXPECT_EQ(out, head1252 + "\\pard " + expected + "\\par\r\n}\r\n");
    EXPECT_EQ(focaris::rtf::escapeRtfValueUnicode("\xF0\x9F\x98\x80"), "{\\uc1\\u-10179\\'3f\\u-8704\\'3f}");
}

TEST_F(RtfEngine, ConsecutiveRepeatedKeysRepeatTheLine)
{
    std::string tpl = "{\\rtf1\r\n\\pard x [K] y\\par\r\n[K] [K]\\par\r\nend [T]\\par\r\n}\r\n";
    std::string out = fillOnce(tpl, {{"[K]", "Ana"}, {"[K]", "Ion"}, {"[K]", "Maria"}, {"[T]", "t"}});
    // Three values: the line with one occurrence is written three times; the line with two
    // occurrences takes two values per copy; a line without keys stops the repetition.
    EXPECT_EQ(out, "{\\rtf1\r\n\\pard x Ana y\\par\r\n\\pard x Ion y\\par\r\n\\pard x Maria y\\par\r\n"
                   "Ana Ion\\par\r\nMaria Maria\\par\r\nend t\\par\r\n}\r\n");

    out = fillOnce("{\\rtf1\r\n\\pard [K] [K]\\par\r\n}\r\n", {{"[K]", "Ana"}, {"[K]", "Ion"}});
    EXPECT_EQ(out, "{\\rtf1\r\n\\pard Ana Ion\\par\r\n}\r\n");
}

TEST_F(RtfEngine, AKeyQueuedAgainAfterOthersKeepsItsFirstValue)
{
    std::string out = fillOnce("{\\rtf1\r\n\\pard [TITULAR] [NR] [TITULAR]\\par\r\n}\r\n",
                               {{"[TITULAR]", "Ana"}, {"[NR]", "1"}, {"[TITULAR]", "Ion"}});
    EXPECT_EQ(out, "{\\rtf1\r\n\\pard ANA 1 ANA\\par\r\n}\r\n");
}

TEST_F(RtfEngine, TwoRecordsWithPageBreakDifferFromTwoCopies)
{
    useTemplate(kSimple);
    ASSERT_TRUE(engine.BeginDocument());
    engine.AddValue("[NUME]", "Ana");
    engine.EmitBody(1);
    engine.PageBreak();
    // The queue was emptied by PageBreak: without new values the placeholder stays.
    engine.EmitBody(1);
    engine.EndDocument();
    const std::string head = "{\\rtf1\\ansi\r\n{\\fonttbl{\\f0 Arial;}}\r\n";
    EXPECT_EQ(output(), head + "\\pard\\plain ANA\\par\r\n\\par \\page\r\n\\pard\\plain [NUME]\\par\r\n}\r\n");

    ASSERT_TRUE(engine.BeginDocument());
    engine.AddValue("[NUME]", "Ana");
    engine.EmitBody(2);
    engine.EndDocument();
    EXPECT_EQ(output(), head + "\\pard\\plain ANA\\par\r\n\\page\r\n\\pard\\plain ANA\\par\r\n}\r\n");
    EXPECT_TRUE(engine.keys().empty());
}

TEST_F(RtfEngine, EmitBodyUntilCopiesTheTailUntouched)
{
    std::string tpl = "{\\rtf1\r\n\\pard [NUME]\\par\r\n\r\nA [NUME] @@TAIL@@ B\r\n[NUME] {\\pict 0a0b\r\n}\r\n";
    useTemplate(tpl);
    ASSERT_TRUE(engine.BeginDocument());
    engine.AddValue("[NUME]", "Ion");
    engine.EmitBodyUntil("@@TAIL@@");
    engine.EndDocument();
    EXPECT_EQ(output(), "{\\rtf1\r\n\\pard ION\\par\r\nA [NUME]  B\r\n[NUME] {\\pict 0a0b\r\n}\r\n}\r\n");

    // Without the marker the body is replaced to the end and its last line is left out.
    ASSERT_TRUE(engine.BeginDocument());
    engine.AddValue("[NUME]", "Ion");
    engine.EmitBodyUntil("@@NONE@@");
    engine.EndDocument();
    EXPECT_EQ(output(), "{\\rtf1\r\n\\pard ION\\par\r\nA ION @@TAIL@@ B\r\nION {\\pict 0a0b\r\n}\r\n");
}

TEST_F(RtfEngine, BeginDocumentRefusesUnusableTemplatesWithoutLeavingAFile)
{
    engine.RTFDest = (dir / "out.rtf").string();
    engine.RTFSursa = (dir / "missing.rtf").string();
    EXPECT_FALSE(engine.BeginDocument());
    for (std::string bad : {std::string(), std::string("{\\rtf1\r\nno paragraph}\r\n")}) {
        useTemplate(bad);
        EXPECT_FALSE(engine.BeginDocument());
        EXPECT_FALSE(std::filesystem::exists(dir / "out.rtf"));
    }
    // The template named as its own output stays as it was.
    useTemplate(kSimple);
    engine.RTFDest = engine.RTFSursa;
    EXPECT_FALSE(engine.BeginDocument());
    EXPECT_THROW(engine.EmitBody(1), std::runtime_error);
    EXPECT_EQ(readFile(dir / "model.rtf"), kSimple);

    engine.RTFDest = (dir / "no-such-folder" / "out.rtf").string();
    EXPECT_FALSE(engine.BeginDocument());
    // Appending to an output that cannot be opened is an error, not silence.
    EXPECT_THROW(engine.EmitBody(1), std::runtime_error);
    EXPECT_THROW(engine.EndDocument(), std::runtime_error);
}

TEST_F(RtfEngine, OpenResultOnlyForAnExistingDocument)
{
    std::vector<std::string> opened;
    auto opener = [&](const std::string &p) {
        opened.push_back(p);
        return true;
    };
    useTemplate(kSimple);
    EXPECT_FALSE(engine.OpenResult(opener));
    ASSERT_TRUE(engine.BeginDocument());
    engine.EndDocument();
    EXPECT_TRUE(engine.OpenResult(opener));
    engine.RTFDest = "out.rtf"; // no folder part
    EXPECT_FALSE(engine.OpenResult(opener));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], (dir / "out.rtf").string());
}

TEST_F(RtfEngine, PickFreeDestSkipsFilesInUseAndReusesDeletableOnes)
{
    std::string base = (dir / "Dispozitie").string();
    writeFile(dir / "Dispozitie0.rtf", "old");
    writeFile(dir / "Dispozitie1.rtf", "old");
    ASSERT_TRUE(engine.PickFreeDest(base));
    EXPECT_EQ(engine.RTFDest, base + "0.rtf");
    EXPECT_FALSE(std::filesystem::exists(dir / "Dispozitie0.rtf"));

    // Number 0 open in the word processor (its lock file beside it), 1 absent.
    writeFile(dir / "Dispozitie0.rtf", "open");
    writeFile(dir / ".~lock.Dispozitie0.rtf#", "lock");
    std::filesystem::remove(dir / "Dispozitie1.rtf");
    ASSERT_TRUE(engine.PickFreeDest(base));
    EXPECT_EQ(engine.RTFDest, base + "1.rtf");
    EXPECT_EQ(readFile(dir / "Dispozitie0.rtf"), "open");

    // All hundred names in use: false and RTFDest unchanged.
    for (int n = 0; n < 100; ++n) {
        std::string name = "Dispozitie" + std::to_string(n) + ".rtf";
        writeFile(dir / name, "x");
        writeFile(dir / (".~lock." + name + "#"), "x");
    }
    engine.RTFDest = "kept";
    EXPECT_FALSE(engine.PickFreeDest(base));
    EXPECT_EQ(engine.RTFDest, "kept");
}

} // namespace
