// Fills the payment-statement template's three sheets with 10,000 records each, as the
// statement does for a large city, and prints the time and the peak memory. The
// reference is opening and saving the filled workbook once, measured in the same run.
#include "engines/xls/WorkbookFiller.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace focaris::xls;

namespace {

class Records : public RowSource {
public:
    explicit Records(std::size_t n) : n_(n) {}
    int columnCount() const override { return int(names_.size()); }
    std::string columnName(int c) const override { return names_[c]; }
    ColumnKind columnKind(int c) const override
    {
        return c < 3 || c == 4 ? ColumnKind::Text : c == 3 ? ColumnKind::Date : ColumnKind::Number;
    }
    std::size_t rowCount() const override { return n_; }
    FieldValue value(std::size_t r, int c) const override
    {
        switch (c) {
        case 0: return {FieldValue::Kind::Text, "BENEFICIAR NUMARUL " + std::to_string(r), 0};
        case 1: return {FieldValue::Kind::Text, std::to_string(1800101000000 + r), 0};
        case 2: return {FieldValue::Kind::Text, std::to_string(r) + "/", 0};
        case 3: return {FieldValue::Kind::Date, {}, 45261};
        case 4: return {FieldValue::Kind::Text, "Str. Principala nr. " + std::to_string(r % 500), 0};
        default: return {FieldValue::Kind::Number, {}, double((r * 7 + std::size_t(c)) % 300) + 0.25};
        }
    }

private:
    std::size_t n_;
    std::vector<std::string> names_ = {"TITULAR", "CNP",   "NRDISP", "DATADISP", "ADRESA", "CUANTUM",
                                       "NR_LUNI", "SUMAL", "SUMAG",  "SUMAT",    "SUMAE"};
};

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main()
{
    const auto dir = std::filesystem::temp_directory_path() / "focaris-bench-xls";
    std::filesystem::create_directories(dir);
    const std::string out = (dir / "XLSTmp1.xls").string();
    std::filesystem::remove(out);

    const Records records(10000);
    const auto t0 = std::chrono::steady_clock::now();
    WorkbookFiller filler({[&] { return out; }, nullptr, nullptr});
    filler.OpenTemplate(FOCARIS_XLS_TEMPLATE);
    for (int sheet = 1; sheet <= 3; ++sheet) {
        filler.SelectSheet(sheet);
        filler.ReplaceText("#JUDET", XValue::Text("Judet   26 - Mures"));
        filler.ReplaceText("#LUNA", XValue::Text("decembrie 2023"));
        filler.FillRows(&records);
    }
    filler.CloseResult(false);
    const double fill = seconds(t0);

    const auto t1 = std::chrono::steady_clock::now();
    XCell::open(out).save((dir / "copy.xls").string());
    const double reference = seconds(t1);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("xls fill, 3 sheets x 10000 records: %.3f s, peak memory %.1f MB, output %.1f MB\n", fill,
                usage.ru_maxrss / 1024.0, std::filesystem::file_size(out) / 1048576.0);
    std::printf("reference, open and save of the result: %.3f s; ratio %.1f\n", reference,
                reference > 0 ? fill / reference : 0.0);
    std::filesystem::remove_all(dir);
    return 0;
}
