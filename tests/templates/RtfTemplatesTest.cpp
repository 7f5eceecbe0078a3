// Checks the built-in RTF templates by filling them with the RTF engine exactly as the
// documents do: every key a document queues must come out replaced (so it stands whole on
// one line of the template and before the forms' end marker), with the capitals the
// template's spelling asks for, and the template must hold no other bracketed key that
// would print as it stands.
#include "TemplateFiles.h"
#include "TestSupport.h"

#include "engines/rtf/RTFReplace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <regex>
#include <set>

using focaris::rtf::TRTFReplace;
using namespace focaris::test;

namespace {

enum class Case { Upper, AsStored };

struct Expect {
    const char *key; // as the document queues it
    Case printed;    // how the built-in template prints it
};

struct RtfTemplate {
    const char *resource;            // file under MODEL/
    bool untilMarker;                // filled with EmitBodyUntil("terminoiu")
    std::vector<std::string> queued; // every key the document queues
    std::vector<Expect> expected;    // keys the template must print
};

// Keys queued by the separate dispositions, in queuing order.
const std::vector<std::string> kDisposition = {
    "[JUDET]",     "[TIPLOC]", "[LOC]",      "[NR]",         "[DATA]",       "[DATA01]", "[DLUI]",
    "[DOMNUL]",    "[NUME]",   "[NRCERERE]", "[DATACERERE]", "[NRDATACERE]", "[PRIMAR]", "[LOCART]",
    "[Domiciliu]", "[CNP]",    "[Motiv]",    "[SECRETAR]",   "[CONTABIL]",   "[SUMA]",   "[LITERA]",
    "[PERIOADA]",  "[TOTAL]",  "[TARIF]",    "[VALMAX]",     "[CUAJUT]",     "[SL]",     "[SUMAL]",
    "[SG]",        "[SUMAG]",  "[SE]",       "[SUMAE]",      "[ST]",         "[SUMAT]"};

const std::vector<std::string> kReferat = {
    "[JUDET]",     "[Dlui]",    "[DOMNUL]", "[NUME]",  "[NRREF]", "[DATAREF]", "[NRCERERE]", "[DATACERERE]",
    "[Domiciliu]", "[CNP]",     "[SUMA]",   "[TOTAL]", "[TARIF]", "[VALMAX]",  "[INTOCMIT]", "[SECRETAR]",
    "[DIRECTOR]",  "[LOCALIT]", "[SUPL]",   "[SUPG]",  "[SUPT]",  "[SUPE]"};

const std::vector<std::string> kForm = {"[UAT]",    "[NUME]",  "[PRENUME]", "[CNP]",    "[TVENIT]", "[VENITM]",
                                        "[NUMEP]",  "[AI]",    "[SU]",      "[SL]",     "[SG]",     "[FURNG]",
                                        "[CODCLG]", "[PODG]",  "[SE]",      "[ST]",     "[FURNTI]", "[CODCLTI]",
                                        "[FURNT]",  "[FURNE]", "[CODCLT]",  "[CODCLE]", "[PODE]",   "[DATACERE]"};

const std::vector<std::string> kInquiry = {"[UAT]",     "[TITULAR]", "[NUME]",     "[PRENUME]",
                                           "[NR_CERE]", "[DATAAZI]", "[DATACERE]", "[CNP]",
                                           "[TVENIT]",  "[VENITM]",  "[TITULAR]",  "[INTOCMIT]"};

const std::vector<std::string> kTreasury = {"[CODJUD]",         "[DENUMJUD]", "[CODUNIT]", "[DENUMUNIT]", "[CODAJUTOR]",
                                            "[DENUMIREAJUTOR]", "[Primar]",   "[NR1]",     "[SUMA1]",     "[NR2]",
                                            "[SUMA2]",          "[NR]",       "[SUMA]",    "[DATA]"};

const Case U = Case::Upper;
const Case S = Case::AsStored;

const std::vector<RtfTemplate> &templates()
{
    static const std::vector<RtfTemplate> all = {
        {"Stabilire.rtf",
         false,
         kDisposition,
         {{"[JUDET]", U},  {"[LOC]", U},       {"[NR]", S},     {"[DATA]", U},     {"[DLUI]", S},
          {"[NUME]", S},   {"[Domiciliu]", S}, {"[LOCART]", S}, {"[NRCERERE]", S}, {"[DATACERERE]", S},
          {"[PRIMAR]", U}, {"[DATA01]", S},    {"[CUAJUT]", S}, {"[SUMA]", S},     {"[PERIOADA]", S},
          {"[SL]", S},     {"[SUMAL]", S},     {"[SG]", S},     {"[SUMAG]", S},    {"[SE]", S},
          {"[SUMAE]", S},  {"[ST]", S},        {"[SUMAT]", S},  {"[CNP]", U},      {"[SECRETAR]", U}}},
        {"Modificare.rtf",
         false,
         kDisposition,
         {{"[JUDET]", U},
          {"[TIPLOC]", S},
          {"[LOC]", U},
          {"[DLUI]", S},
          {"[DOMNUL]", S},
          {"[NUME]", S},
          {"[Domiciliu]", S},
          {"[NRCERERE]", S},
          {"[DATACERERE]", S},
          {"[LOCART]", U},
          {"[PRIMAR]", U},
          {"[DATA01]", S},
          {"[SUMA]", U},
          {"[CNP]", U},
          {"[DATA]", U},
          {"[SECRETAR]", U}}},
        {"Respingere.rtf",
         false,
         kDisposition,
         {{"[JUDET]", U},
          {"[TIPLOC]", S},
          {"[LOC]", U},
          {"[NR]", S},
          {"[DATA]", S},
          {"[DLUI]", S},
          {"[DOMNUL]", S},
          {"[NUME]", U},
          {"[NRCERERE]", U},
          {"[DATACERERE]", U},
          {"[PRIMAR]", U},
          {"[LOCART]", U},
          {"[Domiciliu]", S},
          {"[CNP]", U},
          {"[Motiv]", S},
          {"[SECRETAR]", U}}},
        {"Referat.rtf",
         false,
         kReferat,
         {{"[JUDET]", U},
          {"[LOCALIT]", U},
          {"[NRREF]", S},
          {"[DATAREF]", S},
          {"[DOMNUL]", S},
          {"[NUME]", U},
          {"[Domiciliu]", S},
          {"[NRCERERE]", U},
          {"[DATACERERE]", U},
          {"[SUMA]", S},
          {"[TARIF]", S},
          {"[VALMAX]", S},
          {"[SUPL]", S},
          {"[SUPG]", S},
          {"[SUPT]", S},
          {"[SUPE]", S},
          {"[INTOCMIT]", S},
          {"[DIRECTOR]", S}}},
        {"Cerere.rtf", true, kForm, {{"[UAT]", U},    {"[NUME]", U},   {"[PRENUME]", U},  {"[CNP]", U},
                                     {"[AI]", S},     {"[SU]", S},     {"[FURNTI]", U},   {"[CODCLTI]", U},
                                     {"[ST]", S},     {"[FURNT]", U},  {"[CODCLT]", U},   {"[SG]", S},
                                     {"[FURNG]", U},  {"[CODCLG]", U}, {"[PODG]", U},     {"[SE]", S},
                                     {"[FURNE]", U},  {"[CODCLE]", U}, {"[PODE]", U},     {"[SL]", S},
                                     {"[TVENIT]", U}, {"[VENITM]", U}, {"[DATACERE]", U}, {"[NUMEP]", S}}},
        {"CerereS.rtf", true, kForm, {{"[UAT]", U},    {"[NUME]", U},    {"[PRENUME]", U}, {"[CNP]", U},
                                      {"[AI]", S},     {"[SU]", S},      {"[FURNTI]", U},  {"[CODCLTI]", U},
                                      {"[ST]", S},     {"[FURNT]", U},   {"[CODCLT]", U},  {"[SG]", S},
                                      {"[FURNG]", U},  {"[CODCLG]", U},  {"[PODG]", U},    {"[SE]", S},
                                      {"[FURNE]", U},  {"[CODCLE]", U},  {"[PODE]", U},    {"[SL]", S},
                                      {"[TVENIT]", U}, {"[DATACERE]", S}}},
        {"Ancheta.rtf",
         true,
         kInquiry,
         {{"[UAT]", U},
          {"[DATAAZI]", S},
          {"[NR_CERE]", S},
          {"[DATACERE]", S},
          {"[NUME]", U},
          {"[PRENUME]", U},
          {"[CNP]", U},
          {"[TVENIT]", U},
          {"[VENITM]", U},
          {"[TITULAR]", U},
          {"[INTOCMIT]", U}}},
        {"TrezAnx3.rtf",
         false,
         kTreasury,
         {{"[CODJUD]", U},
          {"[DENUMJUD]", U},
          {"[CODUNIT]", U},
          {"[DENUMUNIT]", U},
          {"[CODAJUTOR]", U},
          {"[DENUMIREAJUTOR]", S},
          {"[Primar]", S},
          {"[NR1]", U},
          {"[SUMA1]", S},
          {"[NR2]", U},
          {"[SUMA2]", S},
          {"[NR]", S},
          {"[SUMA]", U},
          {"[DATA]", U}}},
    };
    return all;
}

std::string upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : char(c); });
    return s;
}

// A value that names its key and cannot occur inside another key's value:
// "[NR]" -> "Zqnrqz", "[NR1]" -> "Zqnr1qz".
std::string valueFor(const std::string &key)
{
    std::string v = "Zq";
    for (char c : key)
        if (std::isalnum(static_cast<unsigned char>(c)))
            v += char(std::tolower(static_cast<unsigned char>(c)));
    return v + "qz";
}

std::string fill(const RtfTemplate &t, const TempDir &dir, int records = 1)
{
    TRTFReplace r;
    r.RTFSursa = (modelDir() / t.resource).string();
    r.RTFDest = (dir / "out.rtf").string();
    EXPECT_TRUE(r.BeginDocument()) << t.resource;
    for (int i = 0; i < records; ++i) {
        for (const auto &k : t.queued)
            r.AddValue(k, valueFor(k));
        if (t.untilMarker)
            r.EmitBodyUntil("terminoiu");
        else
            r.EmitBody(1);
        if (i + 1 < records)
            r.PageBreak();
    }
    r.EndDocument();
    return readFile(dir / "out.rtf");
}

// Braces that count for RTF nesting: not those escaped with a backslash.
int braceDepth(const std::string &rtf)
{
    int depth = 0, lowest = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        if (rtf[i] == '{')
            ++depth;
        else if (rtf[i] == '}')
            lowest = std::min(lowest, --depth);
    }
    return lowest < 0 ? -1000 : depth;
}

} // namespace

TEST(RtfTemplates, EveryPlaceholderIsReplacedWithTheCapitalsOfItsSpelling)
{
    for (const auto &t : templates()) {
        TempDir dir;
        const std::string out = fill(t, dir);
        for (const auto &e : t.expected) {
            const std::string v = valueFor(e.key);
            const std::string shown = e.printed == Case::Upper ? upper(v) : v;
            EXPECT_NE(out.find(shown), std::string::npos) << t.resource << ": " << e.key << " not printed as " << shown;
        }
    }
}

TEST(RtfTemplates, NoBracketedKeyIsLeftThatNoDocumentFills)
{
    // A misspelt placeholder would print as it stands in every document.
    const std::regex key(R"(\[[A-Za-z0-9_]+\])");
    for (const auto &t : templates()) {
        const std::string text = readFile(modelDir() / t.resource);
        std::set<std::string> queued;
        for (const auto &k : t.queued)
            queued.insert(upper(k));
        for (auto it = std::sregex_iterator(text.begin(), text.end(), key); it != std::sregex_iterator(); ++it)
            EXPECT_TRUE(queued.count(upper(it->str())))
                << t.resource << ": " << it->str() << " is filled by no document";
        // And every occurrence is filled, none left behind the forms' end marker.
        TempDir dir;
        const std::string out = upper(fill(t, dir));
        for (const auto &k : queued)
            EXPECT_EQ(out.find(k), std::string::npos) << t.resource << ": " << k << " left";
    }
}

TEST(RtfTemplates, HeaderBodyAndBracesFollowTheEngineRules)
{
    for (const auto &t : templates()) {
        const std::string text = readFile(modelDir() / t.resource);
        const size_t pard = text.find("\\pard");
        ASSERT_NE(pard, std::string::npos) << t.resource;
        // The first "\pard" starts a line, so the header keeps no body text.
        EXPECT_TRUE(pard > 0 && text[pard - 1] == '\n') << t.resource;
        EXPECT_EQ(text.rfind("{\\rtf1\\ansi\\ansicpg1250", 0), 0u) << t.resource;
        EXPECT_NE(text.find("\\paperw11906\\paperh16838"), std::string::npos) << t.resource;
        EXPECT_EQ(braceDepth(text), 0) << t.resource;
        // Diacritics are Windows-1250 escapes; the file itself is plain ASCII.
        EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x80; })) << t.resource;

        // Two records make one well-formed document, the marker gone from the forms.
        TempDir dir;
        const std::string out = fill(t, dir, 2);
        if (t.untilMarker) {
            EXPECT_NE(text.find("terminoiu"), std::string::npos) << t.resource;
            EXPECT_EQ(out.find("terminoiu"), std::string::npos) << t.resource;
        } else {
            EXPECT_EQ(braceDepth(out), 0) << t.resource;
            EXPECT_NE(out.find("\\par \\page"), std::string::npos) << t.resource;
        }
    }
}

TEST(RtfTemplates, FormsCopyTheirTailAfterTheMarker)
{
    for (const auto &t : templates()) {
        if (!t.untilMarker)
            continue;
        const std::string text = readFile(modelDir() / t.resource);
        const std::string tail = text.substr(text.find("terminoiu") + 9);
        TempDir dir;
        const std::string out = fill(t, dir);
        // The attachments list after the marker reaches the output unchanged.
        EXPECT_NE(out.find(tail.substr(tail.find("\\pard"), 200)), std::string::npos) << t.resource;
    }
}

// The dispositions share one heading ("UAT" and the locality), and the form of address
// agrees with its place: the nominative key after "de" and "pentru" and as a subject.
TEST(RtfTemplates, DispositionHeadingAndFormsOfAddress)
{
    for (const char *name : {"Stabilire.rtf", "Modificare.rtf", "Respingere.rtf"}) {
        const std::string t = readFile((modelDir() / name).string());
        EXPECT_NE(t.find("\\b UAT [LOC]\\par"), std::string::npos) << name;
    }
    for (const char *name : {"Stabilire.rtf", "Modificare.rtf", "Respingere.rtf", "Referat.rtf"}) {
        std::string t = readFile((modelDir() / name).string());
        std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        for (const char *wrong : {"de [dlui]", "pentru [dlui]", "[dlui][nume], cnp"})
            EXPECT_EQ(t.find(wrong), std::string::npos) << name << ": " << wrong;
    }
    const std::string referat = readFile((modelDir() / "Referat.rtf").string());
    EXPECT_NE(referat.find("[Domnul] [NUME], CNP [CNP]"), std::string::npos);
}
