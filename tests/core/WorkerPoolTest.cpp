// The worker pool: its workers compute what the caller would, results come back in order, and
// a stop or a failure ends the run cleanly.
#include "core/WorkerPool.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

using namespace orbivex;

namespace {

TEST(WorkerPool, WorkersComputeWhatTheCallerDoesInOrder) {
    Ephemeris loaded(test::ProgramFolder());
    ASSERT_TRUE(loaded.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName)));
    // Instants on both sides of a file boundary of the library (1800), so that each worker
    // opens several files.
    const auto instantOf = [](std::size_t index) { return 2378000.5 + 61.7 * double(index); };
    constexpr std::size_t Count = 40;
    WorkerPool pool(loaded, 2);
    std::vector<std::size_t> taken;
    MakeInOrder<PositionSet>(
        pool, Count, 3,
        [&](std::size_t index, const Ephemeris& worker) {
            return worker.PositionsOfBodies(instantOf(index));
        },
        [&](std::size_t index, const PositionSet& positions) {
            EXPECT_EQ(positions, loaded.PositionsOfBodies(instantOf(index))) << index;
            taken.push_back(index);
            return true;
        });
    ASSERT_EQ(taken.size(), Count);
    EXPECT_TRUE(std::is_sorted(taken.begin(), taken.end()));
}

TEST(WorkerPool, AStopOrAFailureEndsTheRun) {
    const Ephemeris ephemeris(test::ProgramFolder());
    for (const int threads : {1, 2}) {
        WorkerPool pool(ephemeris, threads);
        std::size_t taken = 0;
        MakeInOrder<int>(
            pool, 100, 4, [](std::size_t index, const Ephemeris&) { return int(index); },
            [&](std::size_t index, int) { return ++taken, index < 4; });
        EXPECT_EQ(taken, 5U);
        const auto fail = [&] {
            MakeInOrder<int>(
                pool, 10, 4,
                [](std::size_t index, const Ephemeris&) {
                    return index == 6 ? throw std::runtime_error("no") : int(index);
                },
                [](std::size_t, int) { return true; });
        };
        EXPECT_THROW(fail(), std::runtime_error);
        // The pool still works after both.
        EXPECT_NO_THROW(pool.Post([](const Ephemeris&) {}).get());
    }
}

} // namespace
