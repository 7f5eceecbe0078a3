// Several processes on one table: appends (single and batched) that never share a slot,
// batches of deletion marks seen whole, a pack killed halfway,
// and a pack that gives up instead of waiting forever. Crashes are placed with the
// engine's rebuild hook, never with timing.
#include "TestSupport.h"

#include "engines/dbase/DbfTable.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

using namespace focaris::dbf;
using focaris::test::readFile;
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
        if (batch > 0 && i % batch != batch - 1) { // a batch runs on without the other writer's records
            ASSERT_EQ(std::string(rs.text(r + 1, 2)), who) << "batch split at record " << r;
        }
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
        std::vector<Record> rows;
        for (int i = 0; i < 20000; ++i)
            rows.push_back({Value::fromNumber(i), Value::fromText(std::string(110, 'x')), Value::fromText("U")});
        t.appendMany(rows);
        std::vector<std::uint32_t> odd;
        for (std::uint32_t n = 1; n <= 20000; n += 2)
            odd.push_back(n);
        t.markDeletedMany(odd);
    }
    const auto sideFile = dir / ".Log.dbf.rebuild";
    // A pack that dies after copying part of the records (the chunk past record 5,000),
    // then one that dies with its work file complete but not yet renamed over the table.
    for (const bool atTheEnd : {false, true}) {
        const std::string before = readFile(file);
        const std::uint32_t slotsBefore = DbfTable(file).recordCount();
        const pid_t p = spawn([file, atTheEnd] {
            DbfTable::setRebuildHook([atTheEnd](std::uint32_t done, bool finished) {
                if (finished == atTheEnd && done >= 5000)
                    ::raise(SIGKILL);
            });
            DbfTable::pack(file);
        });
        int status = 0;
        ::waitpid(p, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the pack was not stopped";
        // The table is the old one, byte for byte; the work file is what the dead pack left.
        EXPECT_TRUE(readFile(file) == before) << "the table was changed";
        ASSERT_TRUE(std::filesystem::exists(sideFile));
        const auto sideSize = std::filesystem::file_size(sideFile);
        DbfTable old(file);
        const auto packedSize = std::uintmax_t(old.headerLength()) + 10000u * std::uintmax_t(old.recordLength()) + 1u;
        if (atTheEnd)
            EXPECT_EQ(sideSize, packedSize);
        else
            EXPECT_LT(sideSize, packedSize);
        DbfTable t(file);
        EXPECT_EQ(t.recordCount(), slotsBefore);
        EXPECT_EQ(t.readAll().size(), 10000u);
        // Writers carry on with the old table while the work file lies beside it.
        t.markDeleted(t.append({Value::fromNumber(-1), Value::fromText("after"), Value::fromText("U")}));
    }
    // The next pack completes over the stale work file and leaves none behind.
    EXPECT_EQ(DbfTable::pack(file).kept, 10000u);
    EXPECT_FALSE(std::filesystem::exists(sideFile));
    DbfTable t(file);
    EXPECT_EQ(t.recordCount(), 10000u);
    const RecordSet rs = t.readAll();
    ASSERT_EQ(rs.size(), 10000u);
    EXPECT_EQ(rs.number(0, 0), 1);
    EXPECT_EQ(rs.number(9999, 0), 19999);
}

TEST(DbfConcurrency, PackFailsPromptlyWhileAnotherProcessHoldsTheTable)
{
    TempDir dir;
    const auto file = makeTable(dir);
    DbfTable(file).append({Value::fromNumber(1)});
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    // The child holds the write lock on the table until released, as a hung writer would.
    const pid_t holder = ::fork();
    if (holder == 0) {
        ::close(release[1]);
        const int fd = ::open(file.c_str(), O_RDWR);
        struct flock fl {};
        fl.l_type = F_WRLCK;
        fl.l_whence = SEEK_SET;
        fl.l_start = 0x7FFFFFF0;
        fl.l_len = 1;
        ::fcntl(fd, F_OFD_SETLK, &fl);
        ::write(ready[1], "x", 1);
        char c;
        ::read(release[0], &c, 1); // until the parent closes its end
        ::_exit(0);
    }
    ::close(release[0]);
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    try {
        DbfTable::pack(file);
        ADD_FAILURE() << "pack did not notice the other process";
    } catch (const DbfError &e) {
        EXPECT_NE(std::string(e.what()).find("Log.dbf"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("in use"), std::string::npos) << e.what();
    }
    ::close(release[1]);
    EXPECT_EQ(waitFor(holder), 0);
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
