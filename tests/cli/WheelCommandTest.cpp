#include "cli/CliRun.h"
#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string_view>

using namespace Qt::StringLiterals;

using orbivex::test::CliResult;
using orbivex::test::RunCli;

namespace {

CliResult Wheel(QStringList arguments) {
    return RunCli(QStringList{QStringLiteral("wheel")} + arguments);
}

// Pixels in an area that are clearly blue (the captions) or mid grey (the title).
int CountPixels(const QImage& image, QRect area, bool (*wanted)(QRgb)) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += wanted(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

bool Blue(QRgb p) {
    return qBlue(p) > 200 && qRed(p) < 120 && qGreen(p) < 120;
}

bool Grey(QRgb p) {
    return std::abs(qRed(p) - 160) < 30 && std::abs(qRed(p) - qGreen(p)) < 8 &&
           std::abs(qGreen(p) - qBlue(p)) < 8;
}

} // namespace

TEST(WheelCommand, WritesTheComposedImageOfEachLayout) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString world = folder.filePath(QStringLiteral("world"));
    const CliResult run = Wheel(
        {u"--mode"_s, u"world"_s, u"--world"_s, u"2024-03-20 12:00 GMT"_s, u"--out"_s, world});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out,
              QStringLiteral("The chart image was saved as\n") + world + QStringLiteral(".png\n"));
    QImageReader reader(world + QStringLiteral(".png"));
    EXPECT_EQ(reader.format(), QByteArray("png"));
    const QImage image = reader.read();
    ASSERT_EQ(image.size(), QSize(400, 400));
    EXPECT_GT(CountPixels(image, {5, 0, 50, 17}, Grey), 10);      // title, top left
    EXPECT_GT(CountPixels(image, {288, 350, 110, 49}, Blue), 30); // the world date
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{u"world.png"_s});

    const QString synastry = folder.filePath(QStringLiteral("synastry.png"));
    const CliResult two =
        Wheel({u"--mode"_s, u"synastry"_s, u"--birth1"_s, u"1950-03-07 14:30 GMT+1:00"_s,
               u"--birth2"_s, u"1962-11-23 06:00 EST/CDT"_s, u"--out"_s, synastry});
    ASSERT_EQ(two.exitCode, 0) << two.err.toStdString();
    const QImage twoSets(synastry);
    ASSERT_EQ(twoSets.size(), QSize(660, 440));
    EXPECT_GT(CountPixels(twoSets, {114, 385, 80, 54}, Blue), 30);
    EXPECT_GT(CountPixels(twoSets, {472, 385, 80, 54}, Blue), 30);

    // As the window shows it: the legends in place of the title.
    const QString screen = folder.filePath(QStringLiteral("screen.png"));
    ASSERT_EQ(Wheel({u"--mode"_s, u"personal1"_s, u"--world"_s, u"2024-03-20"_s, u"--birth1"_s,
                     u"1950-03-07"_s, u"--screen"_s, u"--out"_s, screen})
                  .exitCode,
              0);
    const QImage shown(screen);
    ASSERT_EQ(shown.size(), QSize(660, 440));
    EXPECT_EQ(CountPixels(shown, {114, 0, 50, 17}, Grey), 0);
    EXPECT_EQ(CountPixels(shown, {114, 385, 80, 54}, Blue), 0);
}

TEST(WheelCommand, StyleThemeAndSizeShapeTheImage) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    struct Case {
        QStringList arguments;
        QSize size;  // height 0: taller than the wheel, with the dates below it
        QRgb corner; // the picture's background
    };
    const Case cases[] = {
        {{u"--mode"_s, u"world"_s, u"--style"_s, u"modern"_s, u"--theme"_s, u"dark"_s},
         {440, 0},
         qRgb(20, 22, 30)},
        {{u"--mode"_s, u"synastry"_s, u"--style"_s, u"Modern"_s, u"--size"_s, u"990"_s},
         {990, 0},
         qRgb(255, 255, 255)},
        {{u"--mode"_s, u"world"_s, u"--size"_s, u"200"_s}, {200, 200}, qRgb(255, 255, 192)},
    };
    for (const Case& c : cases) {
        const QString out = folder.filePath(QStringLiteral("chart.png"));
        const CliResult run = Wheel(
            c.arguments + QStringList{u"--world"_s, u"2024-03-20"_s, u"--birth1"_s, u"1950-03-07"_s,
                                      u"--birth2"_s, u"1962-11-23"_s, u"--out"_s, out});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QImage image(out);
        EXPECT_EQ(image.width(), c.size.width()) << c.arguments.join(u' ').toStdString();
        if (c.size.height() == 0) {
            EXPECT_GT(image.height(), image.width() * 2 / 3);
        } else {
            EXPECT_EQ(image.height(), c.size.height());
        }
        EXPECT_EQ(image.pixel(image.width() - 1, image.height() / 2), c.corner)
            << c.arguments.join(u' ').toStdString();
    }
}

TEST(WheelCommand, TheLargestSizeIsWrittenAsThePngAlone) {
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("chart.png"));
    const CliResult run = Wheel({u"--mode"_s, u"world"_s, u"--world"_s, u"2024-03-20"_s,
                                 u"--size"_s, u"6000"_s, u"--out"_s, out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, u""_s);
    QImageReader reader(out);
    EXPECT_EQ(reader.format(), QByteArray("png"));
    EXPECT_EQ(reader.size(), QSize(6000, 6000));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{u"chart.png"_s});
}

TEST(WheelCommand, BadInputAndUnwritableOutputGiveTheirExitStatus) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString out = folder.filePath(QStringLiteral("chart.png"));
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{u"--mode"_s, u"world"_s, u"--world"_s, u"2024-03-20"_s}, 2, "--out FILE.png is required"},
        {{u"--mode"_s, u"galactic"_s, u"--out"_s, out}, 2, "unknown mode"},
        {{u"--mode"_s, u"world"_s, u"--style"_s, u"fancy"_s, u"--out"_s, out},
         2,
         "unknown style 'fancy'"},
        {{u"--mode"_s, u"world"_s, u"--theme"_s, u"sepia"_s, u"--out"_s, out},
         2,
         "unknown theme 'sepia'"},
        {{u"--mode"_s, u"world"_s, u"--size"_s, u"99"_s, u"--out"_s, out}, 2, "--size must be"},
        {{u"--mode"_s, u"world"_s, u"--size"_s, u"wide"_s, u"--out"_s, out}, 2, "--size must be"},
        {{u"--mode"_s, u"world"_s, u"--out"_s, out, u"extra"_s}, 2, "unexpected argument 'extra'"},
        {{u"--mode"_s, u"world"_s, u"--world"_s, u"2023-02-29"_s, u"--out"_s, out},
         3,
         "does not exist"},
        {{u"--mode"_s, u"natal2"_s, u"--out"_s, out}, 3, "2nd birthdate"},
        {{u"--mode"_s, u"world"_s, u"--world"_s, u"2024-03-20"_s, u"--out"_s,
          folder.filePath(QStringLiteral("missing/chart.png"))},
         4,
         "could not be saved"},
    };
    for (const Case& c : cases) {
        const CliResult run = Wheel(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message)))
            << c.arguments.join(u' ').toStdString() << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, u""_s);
    }
    EXPECT_FALSE(QFileInfo::exists(out));

    const CliResult help = Wheel({u"--help"_s});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: orbivex-cli wheel --mode MODE")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("--out <FILE.png|FILE.svg>")));
}

// The SVG of the composed and the shown wheel, and the chart sheet as PDF: each written where
// asked, of its type; an unwritable one fails with status 4 and leaves nothing.
TEST(WheelCommand, WritesSvgAndTheSheetPdf) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto path = [&](const char* name) { return folder.filePath(QString::fromUtf8(name)); };
    const auto args = [](std::initializer_list<const char*> words) {
        QStringList list;
        for (const char* word : words) {
            list.append(QString::fromUtf8(word));
        }
        return list;
    };
    struct Case {
        QStringList arguments;
        QString written;
        const char* startsWith;
    };
    const Case cases[] = {
        {args({"wheel", "--mode", "world", "--world", "2024-03-20", "--out"}) << path("w.svg"),
         path("w.svg"), "<?xml"},
        {args({"wheel", "--mode", "synastry", "--birth1", "1950-03-07", "--birth2", "1962-11-23",
               "--screen", "--out"})
             << path("s.SVG"),
         path("s.SVG"), "<?xml"},
        {args({"sheet", "--mode", "personal1", "--world", "2024-03-20", "--birth1", "1950-03-07",
               "--out"})
             << path("sheet"),
         path("sheet.pdf"), "%PDF-"},
        {args({"sheet", "--mode", "synastry", "--birth1", "1950-03-07", "--birth2", "1962-11-23",
               "--style", "modern", "--theme", "dark", "--out"})
             << path("modern.pdf"),
         path("modern.pdf"), "%PDF-"},
    };
    for (const Case& c : cases) {
        const CliResult run = RunCli(c.arguments);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.endsWith(c.written + QLatin1Char('\n'))) << run.out.toStdString();
        QFile file(c.written);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.written.toStdString();
        EXPECT_TRUE(file.readAll().startsWith(c.startsWith));
    }
    for (const char* command : {"wheel", "sheet"}) {
        const QString out =
            path(command == std::string_view("wheel") ? "no/chart.svg" : "no/x.pdf");
        const CliResult run =
            RunCli(args({command, "--mode", "world", "--world", "2024-03-20", "--out"}) << out);
        EXPECT_EQ(run.exitCode, 4) << command;
        EXPECT_FALSE(QFileInfo::exists(out));
    }
    EXPECT_EQ(RunCli(args({"sheet", "--mode", "world"})).exitCode, 2);
    EXPECT_EQ(
        RunCli(args({"sheet", "--mode", "world", "--style", "fancy", "--out"}) << path("fancy.pdf"))
            .exitCode,
        2);
}
