#include "support/DataFolder.h"
#include "common/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orbivex;

TEST(DataFolder, BesideTheExecutableThenTheInstalledShareFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("bin")));
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("share/orbivex")));
    const QString bin = root.filePath(QStringLiteral("bin"));
    const QString share = root.filePath(QStringLiteral("share/orbivex"));

    // Nothing anywhere: the executable's folder, where a message will say the file is missing.
    EXPECT_EQ(ProgramDataFolder(bin), bin);

    ASSERT_TRUE(test::WriteAll(share + QStringLiteral("/orbx.dat"), "1 en Orbivex\n"));
    EXPECT_EQ(ProgramDataFolder(bin), share);

    // A build tree keeps the data beside the programs, and that copy wins.
    ASSERT_TRUE(test::WriteAll(bin + QStringLiteral("/orbx.dat"), "1 en Orbivex\n"));
    EXPECT_EQ(ProgramDataFolder(bin), bin);
}

TEST(DataFolder, TheUserManualBesideTheDataThenInTheInstalledDocFolder) {
    QTemporaryDir root;
    const QString share = root.filePath(QStringLiteral("share/orbivex"));
    const QString doc = root.filePath(QStringLiteral("share/doc/orbivex"));
    ASSERT_TRUE(QDir().mkpath(share) && QDir().mkpath(doc));
    const QString name = QLatin1String(kUserManualFileName);

    // Nowhere: the data folder's, for the message that it is missing.
    EXPECT_EQ(UserManualFile(share), share + QLatin1Char('/') + name);
    ASSERT_TRUE(test::WriteAll(doc + QLatin1Char('/') + name, "<html>"));
    EXPECT_EQ(UserManualFile(share), doc + QLatin1Char('/') + name);
    ASSERT_TRUE(test::WriteAll(share + QLatin1Char('/') + name, "<html>"));
    EXPECT_EQ(UserManualFile(share), share + QLatin1Char('/') + name);
}
