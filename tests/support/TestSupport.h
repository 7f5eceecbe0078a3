// Helpers shared by the tests: temporary folders, file bytes, running focaris-tool, the
// test data folder, and a device that fails after a number of bytes.
#pragma once

#include <QIODevice>
#include <QString>
#include <QTemporaryDir>

#include <filesystem>
#include <string>

namespace focaris::test {

// A fresh folder removed at the end of the test.
class TempDir {
public:
    TempDir();
    std::filesystem::path path() const { return std::filesystem::path(dir_.path().toStdString()); }
    QString qpath() const { return dir_.path(); }
    std::filesystem::path operator/(const std::string &name) const { return path() / name; }

private:
    QTemporaryDir dir_;
};

std::string readFile(const std::filesystem::path &file);
void writeFile(const std::filesystem::path &file, const std::string &bytes);

// tests/data (from the FOCARIS_TEST_DATA environment variable set by ctest).
std::filesystem::path dataDir();

// Runs a command line through the shell; returns its exit status and fills `out` with
// standard output (standard error too when mergeErr).
int run(const std::string &command, std::string *out = nullptr, bool mergeErr = false);
// The path of focaris-tool (FOCARIS_TOOL, set by ctest).
std::string toolPath();
// Quotes a text for the shell.
std::string shellQuote(const std::string &text);

// A write-only device that accepts `limit` bytes and then fails every write: for testing
// that a writer reports a full disk and leaves nothing half-written.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 limit) : limit_(limit) {}
    QByteArray written;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 len) override;

private:
    qint64 limit_;
};

} // namespace focaris::test
