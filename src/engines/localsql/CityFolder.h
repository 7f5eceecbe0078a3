// A city-sized data folder for benchmarks and load tests: Cereri.dbf, Oameni.dbf and
// Log.dbf with the program's layouts, `applicationsPerMonth` applications in each of
// `months` consecutive working months (the same households month after month, as the
// month copy makes them), three members each, valid CNPs, realistic names, localities,
// suppliers and incomes. The rows are the same for the same arguments.
#pragma once

#include <filesystem>

namespace focaris::sql {

struct CityOptions {
    int months = 15;
    int applicationsPerMonth = 12000;
    int membersPerApplication = 3;
    int firstMonthCode = 2023 * 12 + 9; // October 2023
};

struct CityCounts {
    long applications = 0;
    long members = 0;
};

// Creates the three tables in `folder` (which must not hold them yet). Throws on failure.
CityCounts makeCityFolder(const std::filesystem::path &folder, const CityOptions &options = {});

} // namespace focaris::sql
