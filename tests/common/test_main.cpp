// Test main shared by every test program: runs GoogleTest inside the smallest Qt application
// that the tested code needs (ORBIVEX_TEST_GUI or ORBIVEX_TEST_WIDGETS pick a larger one, on
// the offscreen platform), with the settings and data folders of this process moved into a
// temporary folder, so tests never read or write the user's own settings or state files.
#if defined(ORBIVEX_TEST_WIDGETS)
#include <QApplication>
using TestApplication = QApplication;
#elif defined(ORBIVEX_TEST_GUI)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir home;
    if (!home.isValid()) {
        return 2;
    }
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home.path() + QStringLiteral("/cache")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (home.path() + QStringLiteral("/runtime")).toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    // Test mode alone would keep QSettings under ~/.qttest, shared by every test run; keep
    // them in this run's temporary folder like everything else.
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, home.path() + QStringLiteral("/config"));
    }

    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
