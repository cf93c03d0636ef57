#include "host/PrdPredicate.h"

#include "foundation/RCShdPtr.h"
#include "host/PrdPredicateImp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace Vo {
namespace PrdPredicateTesting {

using Log = std::vector<std::string>;

// A test that accepts the values its rule accepts and writes its name into a shared log each time
// it is evaluated.
class LoggedTest : public PrdPredicateImp<int> {
public:
    LoggedTest(std::string testName, std::function<bool(int)> testRule, Log &sharedLog)
        : name(std::move(testName)), rule(std::move(testRule)), log(sharedLog) {}

    bool evaluate(const int &value) const override {
        log.push_back(name);
        return rule(value);
    }

private:
    std::string name;
    std::function<bool(int)> rule;
    Log &log;
};

PrdPredicate<int> logged(const std::string &name, std::function<bool(int)> rule, Log &log) {
    return PrdPredicate<int>(
        RCShdPtr<PrdPredicateImp<int>>(new LoggedTest(name, std::move(rule), log)));
}

TEST(PrdPredicateTest, PredicatesWithoutATestAcceptEverything) {
    const PrdPredicate<int> none;
    const PrdPredicate<int> fromNull{RCShdPtr<PrdPredicateImp<int>>()};
    for (int value : {-1, 0, 7}) {
        EXPECT_TRUE(none.evaluate(value));
        EXPECT_TRUE(fromNull(value));
    }

    Log log;
    const PrdPredicate<int> even = logged(
        "even", [](int v) { return v % 2 == 0; }, log);
    EXPECT_FALSE((none & even)(3));
    EXPECT_TRUE((even & fromNull)(4));
}

TEST(PrdPredicateTest, ConjunctionRunsTheLeftTestFirstAndStopsAtARefusal) {
    Log log;
    const PrdPredicate<int> positive = logged(
        "positive", [](int v) { return v > 0; }, log);
    const PrdPredicate<int> even = logged(
        "even", [](int v) { return v % 2 == 0; }, log);
    const PrdPredicate<int> both = positive & even;

    EXPECT_TRUE(both.evaluate(4));
    EXPECT_EQ(log, (Log{"positive", "even"}));

    log.clear();
    EXPECT_FALSE(both(-4));
    EXPECT_EQ(log, Log{"positive"});

    log.clear();
    EXPECT_FALSE(both(3));
    EXPECT_EQ(log, (Log{"positive", "even"}));

    log.clear();
    EXPECT_FALSE((even & positive)(-4));
    EXPECT_EQ(log, (Log{"even", "positive"}));
}

TEST(PrdPredicateTest, ChainedConjunctionsKeepTheirOperandsOrderAndOperandsStayUnchanged) {
    Log log;
    const PrdPredicate<int> a = logged(
        "a", [](int) { return true; }, log);
    const PrdPredicate<int> b = logged(
        "b", [](int) { return true; }, log);
    const PrdPredicate<int> c = logged(
        "c", [](int v) { return v != 0; }, log);

    EXPECT_TRUE((a & (b & c))(1));
    EXPECT_EQ(log, (Log{"a", "b", "c"}));

    log.clear();
    PrdPredicate<int> copy = a;
    copy = (copy & c);
    EXPECT_FALSE(copy(0));
    EXPECT_TRUE(a(0));
    EXPECT_EQ(log, (Log{"a", "c", "a"}));
}

} // namespace PrdPredicateTesting
} // namespace Vo
