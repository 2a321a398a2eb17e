#include "app/clientlifecycle.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// A directory for the program and a data home, $XDG_DATA_HOME pointing at the latter.
class AppDirTest : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit()); }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    QString dataDir() const { return dataHome.file(QStringLiteral("marbello")); }

    TestAppDir program, dataHome;
};

} // namespace

TEST_F(AppDirTest, AGivenDirectoryWins)
{
    program.write(QStringLiteral("offline.ico"), "ico");
    EXPECT_EQ(ResolveAppDir(QStringLiteral("/some/dir"), program.path()),
              QStringLiteral("/some/dir"));
}

TEST_F(AppDirTest, APortableCopyKeepsItsFilesBesideItself)
{
    program.write(QStringLiteral("offline.ico"), "ico");
    EXPECT_TRUE(HasShippedFilesBeside(program.path()));
    EXPECT_EQ(ResolveAppDir(QString(), program.path()), program.path());
}

// An installed client's directory (/usr/bin) is writable for root; its files still go to the
// data home.
TEST_F(AppDirTest, AnInstalledClientWritesToTheDataHomeEvenWhereItCouldWrite)
{
    EXPECT_FALSE(HasShippedFilesBeside(program.path()));
    EXPECT_EQ(ResolveAppDir(QString(), program.path()), dataDir());
    EXPECT_TRUE(QDir(dataDir()).exists());
    EXPECT_TRUE(QDir(program.path()).isEmpty());
}
