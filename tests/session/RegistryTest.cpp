#include "session/Configuration.h"
#include "session/Registry3.h"

#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

using namespace orbivex;

namespace {

const QString Key = QString::fromLatin1(Registry3::ProgramKeyPath);

// Every test starts from an empty store of the program's values.
class RegistryValues : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings store(QStringLiteral("Quillmark"), QStringLiteral("ORBX"));
        store.clear();
        store.sync();
    }

    static QString Stored(const char* name) {
        QString text;
        const QString status = Registry3::ReadValue(Key, QString::fromLatin1(name), text);
        return status.startsWith(QLatin1Char('0')) ? text : QStringLiteral("<") + status;
    }
    static void Store(const char* name, const QString& text) {
        ASSERT_TRUE(Registry3::WriteValue(Key, QString::fromLatin1(name), text)
                        .startsWith(QLatin1Char('0')));
    }
};

} // namespace

TEST_F(RegistryValues, WritesLandInTheTestsOwnConfigurationFolder) {
    const QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(home.isEmpty());
    const QString user = QDir::homePath();
    ASSERT_FALSE(home.startsWith(user + QStringLiteral("/.config")));
    Store("IPAD", QStringLiteral("1"));
    const QSettings store(QStringLiteral("Quillmark"), QStringLiteral("ORBX"));
    EXPECT_TRUE(store.fileName().startsWith(home + QLatin1Char('/')))
        << store.fileName().toStdString();
    EXPECT_TRUE(QFileInfo::exists(store.fileName()));
}

TEST_F(RegistryValues, StatusTextsOfWritingAndReading) {
    QString text = QStringLiteral("old");
    EXPECT_EQ(Registry3::ReadValue(Key, QStringLiteral("IPAD"), text),
              u"1 Key not found or is empty."_s);
    EXPECT_EQ(text, u""_s);
    EXPECT_EQ(Registry3::WriteValue(Key, QStringLiteral("IPAD"), QStringLiteral("1")),
              u"0 New key created.  The operation completed successfully."_s);
    EXPECT_EQ(Registry3::WriteValue(Key, QStringLiteral("SOEA"), QStringLiteral("0\r\n")),
              u"0 Key already exists.  The operation completed successfully."_s);

    EXPECT_EQ(Registry3::ReadValue(Key, QStringLiteral("IPAD"), text), u"0 OK"_s);
    EXPECT_EQ(text, u"1"_s);
    EXPECT_EQ(Registry3::ReadValue(Key, QStringLiteral("SOEA"), text), u"0 OK"_s);
    EXPECT_EQ(text, u"0"_s); // trailing control characters removed
    EXPECT_EQ(Registry3::ReadValue(Key, QString(), text), u"2 Name not specified."_s);
    EXPECT_EQ(Registry3::ReadValue(Key, QStringLiteral("TZDisp"), text), u"3 Name not found."_s);
    Store("TZDisp", QString());
    EXPECT_EQ(Registry3::ReadValue(Key, QStringLiteral("TZDisp"), text), u"3 Name not found."_s);

    EXPECT_EQ(Registry3::ReadValue(QString(), QStringLiteral("IPAD"), text),
              u"1 Key not found or is empty."_s);
    EXPECT_EQ(Registry3::ReadValue(QStringLiteral("Software\\Nobody\\None"), QStringLiteral("IPAD"),
                                   text),
              u"1 Key not found or is empty."_s);
    EXPECT_EQ(Registry3::WriteValue(QStringLiteral("Hardware\\Quillmark"), QStringLiteral("X"),
                                    QStringLiteral("1")),
              u"87 Unable to create (or find) key.  The parameter is incorrect."_s);
    EXPECT_EQ(Registry3::WriteValue(Key, QString(), QStringLiteral("1")),
              u"2 Name not specified."_s);
}

TEST_F(RegistryValues, AValueStoredAlreadyLeavesTheStoreFileAsItIs) {
    Store("TZDisp", QStringLiteral("1"));
    const QByteArray file = QFile::encodeName(
        QSettings(QStringLiteral("Quillmark"), QStringLiteral("ORBX")).fileName());
    struct stat before {};
    ASSERT_EQ(::stat(file.constData(), &before), 0);
    EXPECT_EQ(Registry3::WriteValue(Key, QStringLiteral("TZDisp"), QStringLiteral("1")),
              u"0 Key already exists.  The operation completed successfully."_s);
    struct stat after {};
    ASSERT_EQ(::stat(file.constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino); // a rewrite replaces the file
    Store("TZDisp", QStringLiteral("0"));
    EXPECT_EQ(Stored("TZDisp"), u"0"_s);
}

TEST_F(RegistryValues, AFailedWriteIsReportedAsAFailure) {
    const QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStringLiteral("/proc/orbivex-no-such-folder"));
    const QString status = Registry3::WriteValue(Key, QStringLiteral("IPAD"), QStringLiteral("1"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home);
    EXPECT_EQ(status, u"5 Unable to create (or find) key.  Access is denied."_s);
    EXPECT_EQ(Stored("IPAD"), u"<1 Key not found or is empty."_s);
}

TEST_F(RegistryValues, TimeZoneNamesFollowTheOffsetWhenMissingAndReadOtherContentAsOn) {
    ConfigurationSettings settings = ConfigurationSettings::Defaults();
    struct Case {
        const char* stored; // nullptr: missing
        int offset;
        bool on;
    };
    const Case cases[] = {
        {nullptr, -300, true},  {nullptr, -600, true},  {nullptr, -150, true},
        {nullptr, -630, false}, {nullptr, -120, false}, {nullptr, 60, false},
        {"0", -300, false},     {"1", 60, true},        {"yes", 60, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.stored ? c.stored : "missing") << " " << c.offset);
        SetUp();
        if (c.stored) {
            Store("TZDisp", QString::fromLatin1(c.stored));
        }
        settings.northAmericanZones = !c.on;
        SetTZDisp(settings, c.offset);
        EXPECT_EQ(settings.northAmericanZones, c.on);
        EXPECT_EQ(Stored("TZDisp").startsWith(u'<'), c.stored == nullptr); // read, not written
        WriteDisplayOptionsToRegistry(settings);
        EXPECT_EQ(Stored("TZDisp"), c.on ? u"1"_s : u"0"_s); // the normalised value
    }
}

TEST_F(RegistryValues, ChartFiltersAreOnOnlyForExactlyOne) {
    ConfigurationSettings settings = ConfigurationSettings::Defaults();
    settings.showOnlyOuter = true;
    settings.showOnlyEarth = true;
    // Missing values (a new computer): both filters off, so the chart can be drawn.
    SetInnerPlanetAspectDisplay(settings);
    SetShowOnlyEarthAspects(settings);
    EXPECT_FALSE(settings.showOnlyOuter);
    EXPECT_FALSE(settings.showOnlyEarth);
    EXPECT_TRUE(Stored("IPAD").startsWith(u'<')); // read, not written
    WriteDisplayOptionsToRegistry(settings);
    EXPECT_EQ(Stored("IPAD"), u"0"_s);
    EXPECT_EQ(Stored("SOEA"), u"0"_s);

    Store("IPAD", QStringLiteral("1"));
    Store("SOEA", QStringLiteral("true"));
    SetInnerPlanetAspectDisplay(settings);
    SetShowOnlyEarthAspects(settings);
    EXPECT_TRUE(settings.showOnlyOuter);
    EXPECT_FALSE(settings.showOnlyEarth);
    WriteDisplayOptionsToRegistry(settings);
    EXPECT_EQ(Stored("IPAD"), u"1"_s);
    EXPECT_EQ(Stored("SOEA"), u"0"_s);
    Store("SOEA", QStringLiteral("1"));
    SetShowOnlyEarthAspects(settings);
    EXPECT_TRUE(settings.showOnlyEarth);
}

TEST_F(RegistryValues, WriteOperationsStoreTheCurrentSettings) {
    ConfigurationSettings settings = ConfigurationSettings::Defaults();
    settings.northAmericanZones = false;
    settings.showOnlyOuter = true;
    settings.showOnlyEarth = false;
    EXPECT_TRUE(WriteTZDispToRegistry(settings).startsWith(QLatin1Char('0')));
    EXPECT_TRUE(WriteInnerPlanetAspectDisplayToRegistry(settings).startsWith(QLatin1Char('0')));
    EXPECT_TRUE(WriteShowOnlyEarthAspectsToRegistry(settings).startsWith(QLatin1Char('0')));
    EXPECT_EQ(Stored("TZDisp"), u"0"_s);
    EXPECT_EQ(Stored("IPAD"), u"1"_s);
    EXPECT_EQ(Stored("SOEA"), u"0"_s);

    ConfigurationSettings read = ConfigurationSettings::Defaults();
    SetTZDisp(read, -300);
    SetInnerPlanetAspectDisplay(read);
    SetShowOnlyEarthAspects(read);
    EXPECT_FALSE(read.northAmericanZones);
    EXPECT_TRUE(read.showOnlyOuter);
    EXPECT_FALSE(read.showOnlyEarth);
}

TEST_F(RegistryValues, WheelStyleAndThemeRoundTripAndAnUnknownValueGivesTheClassicLightWheel) {
    ConfigurationSettings settings = ConfigurationSettings::Defaults();
    settings.wheelStyle = WheelStyle::Modern;
    settings.wheelTheme = WheelTheme::Dark;
    EXPECT_TRUE(WriteWheelAppearanceToRegistry(settings).startsWith(QLatin1Char('0')));
    EXPECT_EQ(Stored("WheelStyle"), u"modern"_s);
    EXPECT_EQ(Stored("WheelTheme"), u"dark"_s);
    ConfigurationSettings read = ConfigurationSettings::Defaults();
    SetWheelAppearance(read);
    EXPECT_EQ(read.wheelStyle, WheelStyle::Modern);
    EXPECT_EQ(read.wheelTheme, WheelTheme::Dark);

    Store("WheelStyle", QStringLiteral("baroque"));
    Store("WheelTheme", QStringLiteral(" DARK "));
    SetWheelAppearance(read);
    EXPECT_EQ(read.wheelStyle, WheelStyle::Classic);
    EXPECT_EQ(read.wheelTheme, WheelTheme::Dark);
}
