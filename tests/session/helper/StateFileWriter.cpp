// A small program that saves state files, so that the tests can see what becomes of the file
// when the program saving it is killed, runs as another user, or runs in another locale.
//
//   state-file-writer save PATH VARIANT        saves SampleState(VARIANT); prints the message
//   state-file-writer stop-half-way PATH VARIANT
//                                              writes half the file, prints "half-written" and
//                                              waits to be killed
//   state-file-writer alternate PATH           saves variants 0 and 1 in turn until killed;
//                                              prints "both-saved" after the first two saves
//
// Exit status: 0 when the save succeeded, 1 when it failed, 2 on bad arguments.
#include "../SampleStates.h"

#include <QCoreApplication>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <thread>

using namespace orbivex;

namespace {

int Save(const QString& path, int variant) {
    const Status saved = WriteStateFile(path, test::SampleState(variant));
    std::fputs(qPrintable((saved ? QString() : saved.error()) + QLatin1Char('\n')), stdout);
    return saved ? 0 : 1;
}

// Writes half the bytes into the temporary file, makes sure they reached it, tells the test,
// and never comes back: the test kills the program here.
[[noreturn]] void StopHalfWay(const QString& path, int variant) {
    static_cast<void>(WriteStateFile(path, test::SampleState(variant),
                                     [](QFileDevice& file, const QByteArray& bytes) -> Status {
                                         file.write(bytes.first(bytes.size() / 2));
                                         file.flush();
                                         std::fputs("half-written\n", stdout);
                                         std::fflush(stdout);
                                         for (;;) {
                                             std::this_thread::sleep_for(std::chrono::seconds(1));
                                         }
                                     }));
    std::abort(); // not reached
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString command = args.value(1);
    if (command == QLatin1String("save") && args.size() == 4) {
        return Save(args[2], args[3].toInt());
    }
    if (command == QLatin1String("stop-half-way") && args.size() == 4) {
        StopHalfWay(args[2], args[3].toInt());
    }
    if (command == QLatin1String("alternate") && args.size() == 3) {
        for (int round = 0;; ++round) {
            if (!WriteStateFile(args[2], test::SampleState(round % 2))) {
                return 1;
            }
            if (round == 1) {
                std::fputs("both-saved\n", stdout);
                std::fflush(stdout);
            }
        }
    }
    std::fputs("usage: state-file-writer save|stop-half-way PATH VARIANT | alternate PATH\n",
               stderr);
    return 2;
}
