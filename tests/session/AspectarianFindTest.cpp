// The aspectarian's search away from the window: the same events as the plain search when it
// runs to the end, none once cancelled, and the day reached as it goes.
#include "session/AspectarianFind.h"

#include "common/TestSupport.h"
#include "core/Ephemeris.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;

namespace orbivex::test {
namespace {

constexpr double Year2000 = 2451544.5; // 1 January 2000, 0 h UT

AspectarianRequest EveryAspect(double from, double to) {
    AspectarianRequest request{from, to, {}, {}};
    std::fill(request.bodies.begin() + 1, request.bodies.end(), true);
    std::fill(request.kinds.begin() + 1, request.kinds.end(), true);
    return request;
}

// Waits for the search to end, advancing it when it has no thread of its own.
void WaitFor(AspectarianFind& find) {
    find.Advance();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!find.Finished() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(find.Finished());
}

class AspectarianFindTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName)));
    }
    Ephemeris ephemeris{ProgramFolder()};
};

TEST_F(AspectarianFindTest, ASearchRunToTheEndGivesThePlainSearchsEvents) {
    const AspectarianRequest request = EveryAspect(Year2000, Year2000 + 30 * 365.25);
    AspectarianFind find(ephemeris, request);
    WaitFor(find);
    EXPECT_FALSE(find.Cancelled());
    EXPECT_EQ(find.ReachedJulianDay(), request.to);
    EXPECT_EQ(find.Share(), 1.0);
    const std::vector<ExactAspect> events = find.TakeEvents();
    EXPECT_GT(events.size(), 10000U);
    EXPECT_EQ(events, FindExactAspects(ephemeris, request));
}

TEST_F(AspectarianFindTest, ACancelledSearchEndsSoonWithNothing) {
    // The whole calendar takes many seconds; cancelled at once, it ends within a stretch.
    AspectarianFind find(ephemeris,
                         EveryAspect(ExactSearchFirstJulianDay, ExactSearchEndJulianDay));
    find.Cancel();
    const auto started = std::chrono::steady_clock::now();
    WaitFor(find);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_TRUE(find.Cancelled());
    EXPECT_LT(find.ReachedJulianDay(), ExactSearchEndJulianDay);
    EXPECT_TRUE(find.TakeEvents().empty());
}

TEST(ProgressDateText, IsTheDayReachedInTheZoneAndItsCalendar) {
    const struct {
        double julianDay;
        MomentZone zone;
        const char* text;
    } cases[] = {
        {Year2000, {}, "January 1, 2000"},
        {Year2000 - 0.01, {60, u"GMT+1:00"_s, CalendarChoice::Gregorian}, "January 1, 2000"},
        {Year2000, {-60, u"GMT-1:00"_s, CalendarChoice::Gregorian}, "December 31, 1999"},
        {Year2000, {0, u"GMT"_s, CalendarChoice::Julian}, "December 19, 1999"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgressDateText(c.julianDay, c.zone), QString::fromUtf8(c.text));
    }
}

} // namespace
} // namespace orbivex::test
