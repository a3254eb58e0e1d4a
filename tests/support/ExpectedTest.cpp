#include "support/Expected.h"

#include <gtest/gtest.h>

#include <QString>

#include <vector>

using namespace orbivex;
using namespace Qt::StringLiterals;

namespace {

enum class Fault { First, Second };

struct Case {
    Expected<std::vector<int>, Fault> result;
    bool ok;
    std::vector<int> valueOr; // value_or({-1})
};

TEST(ExpectedTest, HoldsTheValueOrTheError) {
    const Case cases[] = {
        {std::vector<int>{}, true, {}},
        {std::vector<int>{4, 2}, true, {4, 2}},
        {Unexpected{Fault::First}, false, {-1}},
        {Fail(Fault::Second), false, {-1}},
    };
    for (const Case& c : cases) {
        const auto index = &c - cases;
        EXPECT_EQ(c.result.has_value(), c.ok) << index;
        EXPECT_EQ(static_cast<bool>(c.result), c.ok) << index;
        EXPECT_EQ(c.result.value_or({-1}), c.valueOr) << index;
        if (c.ok) {
            EXPECT_EQ(c.result.value(), c.valueOr) << index;
            EXPECT_EQ(c.result->size(), c.valueOr.size()) << index;
            EXPECT_THROW(static_cast<void>(c.result.error()), std::bad_variant_access) << index;
        } else {
            EXPECT_THROW(static_cast<void>(c.result.value()), std::bad_variant_access) << index;
        }
    }
    EXPECT_EQ(cases[2].result.error(), Fault::First);
    EXPECT_EQ(cases[3].result.error(), Fault::Second);
    // Compared with a value or an error, each holds only what it was built from.
    EXPECT_TRUE(cases[1].result == (std::vector<int>{4, 2}));
    EXPECT_FALSE(cases[2].result == std::vector<int>{});
    EXPECT_TRUE(cases[2].result == Fail(Fault::First));
    EXPECT_FALSE(cases[2].result == Fail(Fault::Second));
    EXPECT_FALSE(cases[0].result == Fail(Fault::First));
    EXPECT_NE(cases[2].result, cases[3].result);
    EXPECT_EQ(cases[1].result, (Expected<std::vector<int>, Fault>(std::vector<int>{4, 2})));
}

TEST(ExpectedTest, StatusIsSuccessOrAMessage) {
    const struct {
        Status status;
        bool ok;
        QString message;
    } cases[] = {
        {Status{}, true, {}},
        {Fail(u"Cannot write."_s), false, u"Cannot write."_s},
        // An empty message is still a failure: success is said only by the absence of one.
        {Fail(QString()), false, QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<bool>(c.status), c.ok) << c.message.toStdString();
        if (!c.ok) {
            EXPECT_EQ(c.status.error(), c.message);
        }
    }
    // The value case's error defaults to a message, as Status's does.
    const Expected<int> parsed = Fail(u"Not a number."_s);
    EXPECT_EQ(parsed.error(), u"Not a number."_s);
}

} // namespace
