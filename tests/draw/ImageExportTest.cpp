#include "draw/ImageExport.h"

#include "common/TestSupport.h"
#include "draw/PictureText.h"
#include "session/Configuration.h"
#include "support/ProgramTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orbivex {

using enum BodyIndex;
using enum AspectKind;
using enum ChartMode;
namespace {

ProgramTexts Texts() {
    return ProgramTexts::FromEntries({
        {4, QStringLiteral("World date")},
        {14, QStringLiteral("Synastry")},
        {57, QStringLiteral("and")},
        {95, QStringLiteral("1st birthdate")},
        {96, QStringLiteral("2nd birthdate")},
        {97, QStringLiteral("Personal transits")},
        {98, QStringLiteral("Synastry shows")},
        {99, QStringLiteral("Transits show")},
        {100, QStringLiteral("only outer")},
        {101, QStringLiteral("planet aspects.")},
        {102, QStringLiteral("Only outer planet")},
        {103, QStringLiteral("aspects are shown.")},
        {104, QStringLiteral("Heliocentric chart")},
        {105, QStringLiteral("Right-click on an aspect line")},
        {106, QStringLiteral("to see which aspect it is.")},
        {132, QStringLiteral("Save chart image as")},
        {133, QStringLiteral("PNG images")},
        {134, QStringLiteral("The chart image was saved as")},
        {135, QStringLiteral("The conversion to PNG failed; the image was saved as a bitmap:")},
        {169, QStringLiteral("of")},
    });
}

ExportInput Input(ChartMode mode) {
    ExportInput input;
    input.wheel.mode = mode;
    for (BodyIndex body : AllBodies) {
        input.wheel.positions[0][body] = Position(DegreesToRadians(37.0 * BodyNumber(body)));
        input.wheel.positions[1][body] = Position(DegreesToRadians(37.0 * BodyNumber(body) + 100));
    }
    input.wheel.colours = ConfigurationSettings().colours;
    input.wheel.aspects = {{Earth, Jupiter, Trine, false}};
    for (auto& date : input.dates) {
        date = {QStringLiteral("1950-03-07"), QStringLiteral("14:30 GMT+1:00")};
    }
    input.orbSummary = QStringLiteral("Orbs: 1°20' to 3°20'");
    return input;
}

// Pixels of a colour close to the wanted one (text is drawn smoothed).
int PixelsNear(const QImage& image, QRect area, int colour, int tolerance = 40) {
    area &= image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const int pixel = ColourOf(image.pixel(x, y));
            count += std::abs(RedOf(pixel) - RedOf(colour)) <= tolerance &&
                             std::abs(GreenOf(pixel) - GreenOf(colour)) <= tolerance &&
                             std::abs(BlueOf(pixel) - BlueOf(colour)) <= tolerance
                         ? 1
                         : 0;
        }
    }
    return count;
}

TEST(ImageExport, TextsOfTheComposition) {
    TimezoneList zones = BuildTimezoneList(true);
    DateSet date;
    date.yearText = QStringLiteral("812");
    date.monthIndex = 3;
    date.dayIndex = 5;
    date.hourIndex = HourEntryOfText(QStringLiteral("14:30"));
    date.timezoneIndex = TimezoneEntryOfText(QStringLiteral("GMT+1:00"));
    const ExportDateText text = ExportDateTextOf(date, zones);
    EXPECT_EQ(text.date, QStringLiteral("812-03-05"));
    EXPECT_EQ(text.hourAndZone, QStringLiteral("14:30 GMT+1:00"));
    date.timezoneIndex = 99; // not an entry: no zone text rather than a crash
    EXPECT_EQ(ExportDateTextOf(date, zones).hourAndZone, QStringLiteral("14:30 "));

    EXPECT_EQ(ExportVersionText(QStringLiteral("2.1.0")), QStringLiteral("2.16"));
    EXPECT_EQ(ExportVersionText(QStringLiteral("0.1.0")), QStringLiteral("0.16"));
    using Lines = std::array<QString, 4>;
    EXPECT_EQ(ExportTitleLines(QStringLiteral("Orbivex")), (Lines{QStringLiteral("Orbivex")}));
    EXPECT_EQ(ExportTitleLines(QStringLiteral("Orbivex heliocentric aspect charts for all")),
              (Lines{QStringLiteral("Orbivex heliocentric"), QStringLiteral("aspect charts for"),
                     QStringLiteral("all")}));
}

TEST(ImageExport, ComposedImageHasTitleCaptionsAndNoLegends) {
    const ProgramTexts texts = Texts();
    struct Case {
        ChartMode mode;
        QSize size;
        QRect title;   // where the product name stands
        QRect version; // the version line
        QRect dates;   // a date block
        QRect legend;  // where the on-screen legend stood and the composition leaves blank
    };
    const Case cases[] = {
        {WorldTransits,
         {400, 400},
         {5, 0, 50, 17},
         {323, 17, 40, 17},
         {288, 350, 110, 50},
         {5, 17, 60, 30}},
        {NatalSecond,
         {400, 400},
         {5, 0, 50, 17},
         {323, 17, 40, 17},
         {3, 350, 90, 50},
         {5, 17, 60, 30}},
        {PersonalFirst,
         {660, 440},
         {114, 0, 50, 17},
         {114, 68, 40, 17},
         {432, 390, 100, 50},
         {470, 0, 120, 28}},
        {SynastryMode,
         {660, 440},
         {114, 0, 50, 17},
         {114, 68, 40, 17},
         {472, 385, 80, 50},
         {487, 0, 120, 28}},
    };
    for (const Case& c : cases) {
        const QImage image = ComposeExportImage(Input(c.mode), texts);
        ASSERT_EQ(image.size(), c.size) << c.mode;
        EXPECT_GT(PixelsNear(image, c.title, ExportTitleColour), 10) << c.mode;
        EXPECT_GT(PixelsNear(image, c.version, ExportTitleColour), 5) << c.mode;
        EXPECT_GT(PixelsNear(image, c.dates, ExportCaptionColour), 30) << c.mode;
        EXPECT_EQ(PixelsNear(image, c.legend, LegendColour, 60), 0) << c.mode;
    }
    // The orb summary and the outer-planet notes of the two-set wheel.
    ExportInput outer = Input(SynastryMode);
    const QImage plain = ComposeExportImage(outer, texts);
    outer.wheel.filters.showOnlyOuterPlanetAspects = true;
    const QImage noted = ComposeExportImage(outer, texts);
    EXPECT_GT(PixelsNear(plain, {525, 334, 120, 17}, ExportCaptionColour), 30);
    EXPECT_EQ(PixelsNear(plain, {552, 195, 100, 50}, ExportCaptionColour), 0);
    EXPECT_GT(PixelsNear(noted, {552, 195, 100, 50}, ExportCaptionColour), 30);

    // Both filters: the wheel cannot be drawn, so there is nothing to export.
    outer.wheel.filters.showOnlyEarthAspects = true;
    EXPECT_TRUE(ComposeExportImage(outer, texts).isNull());
}

TEST(ImageExport, EveryComposedTextLiesInsideTheImage) {
    ProgramTexts texts;
    ASSERT_GT(texts.Load(test::ProgramFolder() + QStringLiteral("/orbx.dat")), 0);
    for (const ChartMode mode : AllChartModes) {
        for (const bool outerOnly : {false, true}) {
            ExportInput input = Input(mode);
            input.wheel.filters.showOnlyOuterPlanetAspects = outerOnly;
            input.orbSummary = QStringLiteral("Orbs: 0°37'30\" to 15°0'");
            for (auto& date : input.dates) {
                date = {QStringLiteral("2799-12-31"), QStringLiteral("23:30 GMT-11:30")};
            }
            const QImage image = ComposeExportImage(input, texts);
            const QRectF bounds = QRectF(image.rect())
                                      .adjusted(ExportEdgeMargin, ExportEdgeMargin,
                                                -ExportEdgeMargin, -ExportEdgeMargin);
            // No letter is cut off at an edge: no text colour in the outermost two pixels.
            const int w = image.width();
            const int h = image.height();
            for (const QRect edge : {QRect(0, 0, w, 2), QRect(0, h - 2, w, 2), QRect(0, 0, 2, h),
                                     QRect(w - 2, 0, 2, h)}) {
                EXPECT_EQ(PixelsNear(image, edge, ExportCaptionColour, 100), 0)
                    << "mode " << mode << ", outer only " << outerOnly;
                EXPECT_EQ(PixelsNear(image, edge, ExportTitleColour, 60), 0)
                    << "mode " << mode << ", outer only " << outerOnly;
            }
            const std::vector<ExportText> placed = ExportTexts(input, texts, image.size());
            EXPECT_GE(placed.size(), outerOnly ? 6u : 4u);
            for (const ExportText& text : placed) {
                EXPECT_TRUE(bounds.contains(text.box))
                    << "mode " << mode << ", outer only " << outerOnly << ": \""
                    << text.text.toStdString() << "\" at " << text.box.x() << "," << text.box.y()
                    << " size " << text.box.width() << "x" << text.box.height() << " in "
                    << image.width() << "x" << image.height();
            }
        }
    }
}

TEST(ImageExport, FileNamesGetThePngEndingWhenItIsMissing) {
    struct Case {
        const char* chosen;
        const char* png;
        const char* bitmap;
    };
    for (const Case c : {Case{"/d/chart.png", "/d/chart.png", "/d/chart.bmp"},
                         Case{"/d/chart", "/d/chart.png", "/d/chart.bmp"},
                         Case{"/d/chart.", "/d/chart.png", "/d/chart.bmp"},
                         Case{"/d/Chart.PNG", "/d/Chart.PNG", "/d/Chart.bmp"},
                         Case{"/d/chart.jpg", "/d/chart.jpg.png", "/d/chart.jpg.bmp"},
                         Case{"/d/my chart.v2", "/d/my chart.v2.png", "/d/my chart.v2.bmp"}}) {
        const ImageFileNames names = ImageFileNamesFor(QString::fromUtf8(c.chosen));
        EXPECT_EQ(names.png, QString::fromUtf8(c.png));
        EXPECT_EQ(names.bitmap, QString::fromUtf8(c.bitmap));
    }
}

TEST(ImageExport, SavedPngLeavesNoBitmapAndSparesAFileOfTheBitmapName) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const ProgramTexts texts = Texts();
    const QImage image = ComposeExportImage(Input(WorldTransits), texts);
    const ImageFileNames names = ImageFileNamesFor(folder.filePath(QStringLiteral("chart")));
    ASSERT_TRUE(test::WriteAll(names.bitmap, "the user's own bitmap"));

    const ImageSaveOutcome outcome = SaveImageFiles(image, names, texts);
    EXPECT_EQ(outcome.result, ImageSaveResult::Saved);
    EXPECT_EQ(outcome.icon, MessageIcon::Information);
    EXPECT_EQ(outcome.message, QStringLiteral("The chart image was saved as\r\n") + names.png);
    QImageReader reader(names.png);
    EXPECT_EQ(reader.format(), QByteArray("png"));
    const QImage saved = reader.read();
    EXPECT_EQ(saved.size(), QSize(400, 400));
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32),
              image.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(test::ReadAll(names.bitmap), QByteArray("the user's own bitmap"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);

    // Saving again replaces the PNG.
    EXPECT_EQ(SaveImageFiles(image, names, texts).result, ImageSaveResult::Saved);
}

TEST(ImageExport, FailedWritesKeepExistingFiles) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const ProgramTexts texts = Texts();
    const QImage image = ComposeExportImage(Input(NatalFirst), texts);

    // The PNG cannot be written (its name links into a missing folder): the image goes to the
    // bitmap.
    const ImageFileNames blocked = ImageFileNamesFor(folder.filePath(QStringLiteral("taken.png")));
    ASSERT_TRUE(QFile::link(folder.filePath(QStringLiteral("missing/taken.png")), blocked.png));
    const ImageSaveOutcome bitmap = SaveImageFiles(image, blocked, texts);
    EXPECT_EQ(bitmap.result, ImageSaveResult::SavedAsBitmap);
    EXPECT_EQ(bitmap.message,
              QStringLiteral("The conversion to PNG failed; the image was saved as a bitmap:\r\n") +
                  blocked.bitmap);
    EXPECT_EQ(QImageReader(blocked.bitmap).read().size(), QSize(400, 400));

    // A missing folder: nothing can be written, and the message does not claim otherwise.
    const ImageFileNames missing =
        ImageFileNamesFor(folder.filePath(QStringLiteral("no such folder/chart.png")));
    const ImageSaveOutcome failed = SaveImageFiles(image, missing, texts);
    EXPECT_EQ(failed.result, ImageSaveResult::Failed);
    EXPECT_EQ(failed.icon, MessageIcon::Exclamation);
    EXPECT_TRUE(failed.message.startsWith(
        QStringLiteral("The chart image could not be saved as\r\n") + missing.png))
        << failed.message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(missing.bitmap));
}

TEST(ImageExport, ReadOnlyFolderKeepsItsChart) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const ProgramTexts texts = Texts();
    const QImage image = ComposeExportImage(Input(NatalFirst), texts);
    const QString readOnly = folder.filePath(QStringLiteral("read-only"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("read-only")));
    const ImageFileNames kept = ImageFileNamesFor(readOnly + QStringLiteral("/chart.png"));
    ASSERT_TRUE(test::WriteAll(kept.png, "previous chart"));
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(readOnly).isWritable()) {
        QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "permissions do not bind this user";
    }
    const ImageSaveOutcome refused = SaveImageFiles(image, kept, texts);
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(refused.result, ImageSaveResult::Failed);
    EXPECT_EQ(test::ReadAll(kept.png), QByteArray("previous chart"));
}

} // namespace
} // namespace orbivex
