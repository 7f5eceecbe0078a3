// A scratch installation for the shell's tests: program folder, machine settings folder
// and the user's desktop folders all inside one temporary folder, so that nothing of the
// real computer is read or written.
#pragma once

#include "FakeUi.h"
#include "TestSupport.h"
#include "core/Context.h"
#include "core/Settings.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace focaris::test {

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = tmp.qpath();
        program = root + QStringLiteral("/prog");
        QDir().mkpath(program);
        qputenv("XDG_DATA_HOME", (root + QStringLiteral("/xdgdata")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/xdgconfig")).toLocal8Bit());
        qputenv("FOCARIS_SAVE_ROOTS", "");
        InitContextForTests(program);
    }

    void touch(const QString &path, const QByteArray &bytes = "x")
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // A folder holding the given tables (empty files are enough for the checks).
    QString tableFolder(const QString &name, const QStringList &tables)
    {
        const QString folder = root + QLatin1Char('/') + name;
        for (const QString &t : tables)
            touch(folder + QLatin1Char('/') + t + QStringLiteral(".dbf"));
        QDir().mkpath(folder);
        return folder;
    }

    TempDir tmp;
    QString root, program;
    FakeUi ui;
};

} // namespace focaris::test
