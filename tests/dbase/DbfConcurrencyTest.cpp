// Several processes on one table: appends (single and batched) that never share a slot,
// batches of deletion marks seen whole, a pack killed halfway,
// and a pack that gives up instead of waiting forever.
#include "TestSupport.h"

#include "engines/dbase/DbfTable.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace focaris::dbf;
using focaris::test::TempDir;

namespace {

std::filesystem::path makeTable(const TempDir &dir)
{
    const auto file = dir / "Log.dbf";
    DbfTable::create(file, {ColumnDef::decimalColumn("IDLOG", 10, 0), ColumnDef::charColumn("ACTIUNE", 120),
                            ColumnDef::charColumn("UTILIZATOR", 16)});
    return file;
}

// Runs fn in a child process; returns its pid. The child exits 0 when fn succeeds.
template <class F>
pid_t spawn(F fn)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int rc = 0;
        try {
            fn();
        } catch (const std::exception &e) {
            std::fprintf(stderr, "child: %s\n", e.what());
            rc = 1;
        }
        ::_exit(rc);
    }
    return pid;
}

int waitFor(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The record writer `who` appends as its i-th.
Record writerRecord(const std::string &who, int i)
{
    return {Value::fromNumber(i), Value::fromText(who + " " + std::to_string(i) + std::string(100, '.')),
            Value::fromText(who)};
}

// Checks that the 4,000 records written by "A" and "B" are whole and each writer's are in
// its own order; with a batch size, also that no batch has the other writer's records
// inside it. `next` receives how many records of each writer were found.
void checkWriters(const std::filesystem::path &file, int batch, std::map<std::string, int> &next)
{
    DbfTable t(file);
    EXPECT_EQ(t.recordCount(), 4000u);
    const RecordSet rs = t.readAll();
    ASSERT_EQ(rs.size(), 4000u);
    next = {{"A", 0}, {"B", 0}};
    for (std::size_t r = 0; r < rs.size(); ++r) {
        const std::string who(rs.text(r, 2));
        ASSERT_TRUE(next.count(who)) << "torn record " << r;
        const int i = next[who]++;
        ASSERT_EQ(rs.number(r, 0), i) << who; // each writer's records in its own order
        ASSERT_EQ(rs.text(r, 1), who + " " + std::to_string(i) + std::string(100, '.'));
        if (batch > 0 && i % batch != batch - 1) // a batch runs on without the other writer's records
            ASSERT_EQ(std::string(rs.text(r + 1, 2)), who) << "batch split at record " << r;
    }
}

} // namespace

TEST(DbfConcurrency, TwoProcessesAppendingLeaveEveryRecordIntact)
{
    TempDir dir;
    const auto file = makeTable(dir);
    auto writer = [&](const std::string &who) {
        return [file, who] {
            DbfTable t(file);
            for (int i = 0; i < 2000; ++i)
                t.append(writerRecord(who, i));
        };
    };
    const pid_t a = spawn(writer("A"));
    const pid_t b = spawn(writer("B"));
    ASSERT_EQ(waitFor(a), 0);
    ASSERT_EQ(waitFor(b), 0);

    std::map<std::string, int> next;
    checkWriters(file, 0, next);
    EXPECT_EQ(next["A"], 2000);
    EXPECT_EQ(next["B"], 2000);
}

TEST(DbfConcurrency, PackKilledHalfwayLeavesTheTableReadable)
{
    TempDir dir;
    const auto file = makeTable(dir);
    {
        DbfTable t(file);
        for (int i = 0; i < 20000; ++i)
            t.append({Value::fromNumber(i), Value::fromText(std::string(110, 'x')), Value::fromText("U")});
        for (std::uint32_t n = 1; n <= 20000; n += 2)
            t.markDeleted(n);
    }
    // Kill packs at growing delays until one is caught in the middle of its work, which
    // shows in the half-built file it leaves beside the table.
    const auto sideFile = dir / ".Log.dbf.rebuild";
    bool caughtMidway = false;
    for (int delayUs = 100; delayUs < 400000 && !caughtMidway; delayUs = delayUs * 3 / 2) {
        const pid_t p = spawn([file] { DbfTable::pack(file); });
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
        ::kill(p, SIGKILL);
        waitFor(p);
        caughtMidway = std::filesystem::exists(sideFile);
        DbfTable t(file);
        ASSERT_EQ(t.readAll().size(), 10000u);
        const std::uint32_t slotCount = t.recordCount();
        ASSERT_TRUE(slotCount == 20000u || slotCount == 10000u) << slotCount;
        if (slotCount == 10000u)
            break;   // the pack finished before the kill: nothing left to catch
    }
    EXPECT_TRUE(caughtMidway);
    // The next pack completes and leaves no work file behind.
    EXPECT_EQ(DbfTable::pack(file).kept, 10000u);
    EXPECT_FALSE(std::filesystem::exists(sideFile));
    DbfTable t(file);
    EXPECT_EQ(t.readAll().size(), 10000u);
}

TEST(DbfConcurrency, PackFailsPromptlyWhileAnotherProcessHoldsTheTable)
{
    TempDir dir;
    const auto file = makeTable(dir);
    DbfTable(file).append({Value::fromNumber(1)});
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    // The child holds the write lock on the table for a long time, as a hung writer would.
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open(file.c_str(), O_RDWR);
        struct flock fl{};
        fl.l_type = F_WRLCK;
        fl.l_whence = SEEK_SET;
        fl.l_start = 0x7FFFFFF0;
        fl.l_len = 1;
        ::fcntl(fd, F_OFD_SETLK, &fl);
        ::write(ready[1], "x", 1);
        ::sleep(30);
        ::_exit(0);
    }
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    const auto start = std::chrono::steady_clock::now();
    try {
        DbfTable::pack(file);
        ADD_FAILURE() << "pack did not notice the other process";
    } catch (const DbfError &e) {
        EXPECT_NE(std::string(e.what()).find("Log.dbf"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("in use"), std::string::npos) << e.what();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    ::kill(holder, SIGKILL);
    waitFor(holder);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(DbfTable::pack(file).kept, 1u);
}

TEST(DbfConcurrency, TwoProcessesAppendingBatchesLeaveEveryBatchWhole)
{
    TempDir dir;
    const auto file = makeTable(dir);
    // Each writer appends batches of 50; batches of the two never share a slot nor interleave.
    auto writer = [&](const std::string &who) {
        return [file, who] {
            DbfTable t(file);
            for (int b = 0; b < 40; ++b) {
                std::vector<Record> batch;
                for (int i = 0; i < 50; ++i) {
                    const int k = b * 50 + i;
                    batch.push_back(writerRecord(who, k));
                }
                t.appendMany(batch);
            }
        };
    };
    const pid_t a = spawn(writer("A"));
    const pid_t b = spawn(writer("B"));
    ASSERT_EQ(waitFor(a), 0);
    ASSERT_EQ(waitFor(b), 0);

    std::map<std::string, int> next;
    checkWriters(file, 50, next);
}

TEST(DbfConcurrency, ReaderSeesABatchOfDeletionMarksWholeOrNotAtAll)
{
    TempDir dir;
    const auto file = makeTable(dir);
    {
        DbfTable t(file);
        std::vector<Record> rows(20000, Record{Value::fromNumber(1), Value::fromText("x"), Value::fromText("U")});
        t.appendMany(rows);
    }
    // The child deletes every other record in one batch, then brings them back, again and
    // again; the parent's reads must find either all 10000 deleted or none.
    const pid_t w = spawn([file] {
        DbfTable t(file);
        std::vector<std::uint32_t> odd;
        for (std::uint32_t n = 1; n <= 20000; n += 2)
            odd.push_back(n);
        for (int round = 0; round < 30; ++round) {
            t.markDeletedMany(odd);
            t.markDeletedMany(odd, false);
        }
    });
    DbfTable t(file);
    std::map<std::size_t, int> seen;
    for (int i = 0; i < 60; ++i)
        ++seen[t.readAll().size()];
    ASSERT_EQ(waitFor(w), 0);
    for (const auto &[live, times] : seen)
        EXPECT_TRUE(live == 20000u || live == 10000u) << live << " live records seen " << times << " times";
}
