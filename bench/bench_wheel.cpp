// Drawing the chart wheel, symbol placement included, for the single-set and two-set layouts,
// with the symbols spread around the ring and crowded into one sector (where every symbol
// must step inwards past the others), the composed export image, the same as SVG, and the
// chart sheet written as PDF.
#include "BenchSupport.h"
#include "draw/ChartSheet.h"
#include "draw/ChartWheel.h"
#include "draw/ImageExport.h"
#include "draw/WheelSvg.h"
#include "session/Compute.h"
#include "session/Configuration.h"
#include "support/ProgramTexts.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orbivex;
using enum orbivex::ChartMode;

namespace {

// Text drawn into an image needs a GUI application; the benchmarks run on the offscreen
// platform.
void EnsureGuiApplication() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        return;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orbivex-bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

const ProgramTexts& Texts() {
    static const ProgramTexts texts = ProgramTexts::FromEntries({
        {104, QStringLiteral("Heliocentric chart")},
        {105, QStringLiteral("Right-click on an aspect line")},
        {106, QStringLiteral("to see which aspect it is.")},
    });
    return texts;
}

// Range 0: the chart mode; range 1: 0 spread, 1 crowded; range 2: 0 classic,
// 1 modern at the device pixel ratio 1, 2 modern at 2.
WheelInput Input(const benchmark::State& run) {
    WheelInput input;
    input.mode = ChartModeOfNumber(static_cast<int>(run.range(0)));
    if (run.range(2) > 0) {
        input.style = WheelStyle::Modern;
        input.devicePixelRatio = static_cast<double>(run.range(2));
    }
    const bool crowded = run.range(1) != 0;
    for (BodyIndex body : AllBodies) {
        const int number = BodyNumber(body);
        const double first = crowded ? 100.0 + 2.0 * number : 37.0 * number;
        input.positions[0][body] = Position(DegreesToRadians(first));
        input.positions[1][body] =
            Position(DegreesToRadians(crowded ? first + 5.0 : first + 150.0));
    }
    input.colours = ConfigurationSettings().colours;
    for (BodyIndex a : AllBodies) {
        const std::span<const BodyIndex> after = BodiesAfter(a, MaxBodies);
        for (std::size_t i = 0; i < after.size(); i += 3) {
            const BodyIndex b = after[i];
            const int sum = BodyNumber(a) + BodyNumber(b);
            input.aspects.push_back(
                {a, b, AspectKindOfNumber(sum % NumAspectKinds + 1), sum % 4 == 0});
        }
    }
    return input;
}

void BM_DrawChartWheel(benchmark::State& run) {
    EnsureGuiApplication();
    const WheelInput input = Input(run);
    for (auto _ : run) {
        const WheelDrawing drawing = DrawChartWheel(input, Texts());
        benchmark::DoNotOptimize(drawing.image.constBits());
    }
}

void BM_ComposeExportImage(benchmark::State& run) {
    EnsureGuiApplication();
    ExportInput input;
    input.wheel = Input(run);
    for (auto& date : input.dates) {
        date = {QStringLiteral("2024-03-20"), QStringLiteral("12:00 GMT")};
    }
    for (auto _ : run) {
        const QImage image = ComposeExportImage(input, Texts());
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_ComposeExportSvg(benchmark::State& run) {
    EnsureGuiApplication();
    ExportInput input;
    input.wheel = Input(run);
    for (auto& date : input.dates) {
        date = {QStringLiteral("2024-03-20"), QStringLiteral("12:00 GMT")};
    }
    for (auto _ : run) {
        const WheelSvg svg = ComposeExportSvg(input, Texts());
        benchmark::DoNotOptimize(svg.svg.constData());
    }
}

// The sheet of a computed chart (its durations included, as Print... and orbivex-cli sheet
// compute them) written as a PDF file. Range 0: the chart mode.
void BM_ChartSheetPdf(benchmark::State& run) {
    EnsureGuiApplication();
    bench::Data data;
    ProgramState state = bench::ChartState(static_cast<ChartMode>(run.range(0)));
    QTemporaryDir folder;
    if (!data.ok || !folder.isValid() || !Compute(state, {data.ephemeris})) {
        run.SkipWithError("no data files or no temporary folder");
        return;
    }
    const QString path = folder.filePath(QStringLiteral("sheet.pdf"));
    for (auto _ : run) {
        const SheetInput sheet = SheetInputOf(state, data.ephemeris, data.texts);
        if (!WriteChartSheetPdf(sheet, data.texts, path)) {
            run.SkipWithError("the PDF could not be written");
            return;
        }
    }
}

} // namespace

BENCHMARK(BM_DrawChartWheel)
    ->ArgsProduct({{ModeNumber(WorldTransits), ModeNumber(PersonalFirst), ModeNumber(SynastryMode)},
                   {0, 1},
                   {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeExportImage)
    ->ArgsProduct({{ModeNumber(WorldTransits), ModeNumber(SynastryMode)}, {0}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeExportSvg)
    ->ArgsProduct({{ModeNumber(WorldTransits), ModeNumber(SynastryMode)}, {0}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartSheetPdf)
    ->Arg(ModeNumber(WorldTransits))
    ->Arg(ModeNumber(PersonalFirst))
    ->Arg(ModeNumber(SynastryMode))
    ->Unit(benchmark::kMillisecond);
