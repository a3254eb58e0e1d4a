// The chart library at 100,000 charts: how long `orbivex-cli library import` of a CSV file of
// that many charts takes (a whole process, as a user runs it), and how long a search takes as
// the window's search box asks while a name or a tag is typed, one letter more each time (the
// first 200 matches, as a list shows them, and all of them). Prints the figures; the targets
// are an import under 10 s and every search under 50 ms.
//
// Usage: orbivex-library-bench [CHARTS]   (default 100000)
#include "session/ChartLibrary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <sys/resource.h>

using namespace orbivex;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString library = dir.filePath(QStringLiteral("charts.sqlite"));
    const QString input = dir.filePath(QStringLiteral("charts.csv"));

    // Names of two to four syllables, a surname, tags from a set of 60, dates over 1900..2099.
    QRandomGenerator random(12345);
    const QStringList syllables = {
        QStringLiteral("ada"), QStringLiteral("lo"),  QStringLiteral("ve"), QStringLiteral("la"),
        QStringLiteral("mar"), QStringLiteral("tin"), QStringLiteral("el"), QStringLiteral("so"),
        QStringLiteral("ri"),  QStringLiteral("ka"),  QStringLiteral("no"), QStringLiteral("be"),
        QStringLiteral("thu"), QStringLiteral("gra"), QStringLiteral("ce"), QStringLiteral("jo")};
    const auto word = [&] {
        QString text;
        for (int part = 0, parts = 2 + random.bounded(3); part < parts; ++part) {
            text += syllables[random.bounded(syllables.size())];
        }
        text[0] = text[0].toUpper();
        return text;
    };
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly)) {
            out << "cannot write " << input << '\n';
            return 1;
        }
        QTextStream csv(&file);
        csv << "name,date,zone,rating,tags,notes\n";
        for (int index = 0; index < count; ++index) {
            csv << word() << ' ' << word() << ','
                << QStringLiteral("%1-%2-%3 %4:%5")
                       .arg(1900 + random.bounded(200))
                       .arg(1 + random.bounded(12), 2, 10, QLatin1Char('0'))
                       .arg(1 + random.bounded(28), 2, 10, QLatin1Char('0'))
                       .arg(random.bounded(24), 2, 10, QLatin1Char('0'))
                       .arg(random.bounded(60), 2, 10, QLatin1Char('0'))
                << ",Europe/Paris," << DataRatings()[random.bounded(7)] << ",\"group"
                << random.bounded(60) << ",year" << random.bounded(30) << "\",notes " << index
                << '\n';
        }
    }

    QProcess import;
    QElapsedTimer timer;
    timer.start();
    import.start(QCoreApplication::applicationDirPath() + QStringLiteral("/orbivex-cli"),
                 {QStringLiteral("library"), QStringLiteral("import"), input,
                  QStringLiteral("--library"), library});
    if (!import.waitForFinished(600000) || import.exitCode() != 0) {
        out << "the import failed: " << import.readAllStandardError() << '\n';
        return 1;
    }
    const double importSeconds = timer.elapsed() / 1000.0;
    // The processor time too: on a busy computer the wall time counts the waits for a core.
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const double cpuSeconds =
        static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
        static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    out << "import of " << count
        << " charts (orbivex-cli library import, CSV): " << QString::number(importSeconds, 'f', 2)
        << " s, " << QString::number(cpuSeconds, 'f', 2) << " s of processor time\n";

    LibraryResult<std::unique_ptr<ChartLibrary>> opened = ChartLibrary::Open(library);
    if (!opened) {
        out << opened.error().message << '\n';
        return 1;
    }
    ChartLibrary& charts = **opened;
    out << "charts in the library: " << charts.Count().value_or(-1) << '\n';
    // Typing a name, a surname's middle, and a tag, letter by letter.
    const QStringList typed = {QStringLiteral("Adalove"), QStringLiteral("martin"),
                               QStringLiteral("group17"), QStringLiteral("zzz")};
    double worst = 0; // of the first 200, what a list shows while the user types
    for (const int limit : {200, -1}) {
        for (const QString& text : typed) {
            out << (limit < 0 ? "all matches" : "first 200") << ", typing '" << text << "':";
            for (qsizetype length = 1; length <= text.size(); ++length) {
                timer.restart();
                const LibraryResult<QList<LibraryChart>> found =
                    charts.Search({text.left(length), {}, limit});
                const double milliseconds = timer.nsecsElapsed() / 1e6;
                if (limit >= 0) {
                    worst = std::max(worst, milliseconds);
                }
                out << ' ' << QString::number(milliseconds, 'f', 1) << " ms ("
                    << (found ? found->size() : -1) << ')';
            }
            out << '\n';
        }
    }
    timer.restart();
    const qsizetype tagged = charts.Search({{}, QStringLiteral("group17"), -1}).value().size();
    out << "all charts of one tag (" << tagged
        << "): " << QString::number(timer.nsecsElapsed() / 1e6, 'f', 1) << " ms\n";
    out << "slowest search of the first 200 matches: " << QString::number(worst, 'f', 1) << " ms\n";
    return 0;
}
