#include "foundation/CbFunction.h"
#include "foundation/CbDispatcher.h"
#include "base/CbEmptyType.h"

#include "base/RCExInvalidCall.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using Vo::CbDispatcher;
using Vo::CbEmptyType;
using Vo::CbFunction;

static_assert(!std::is_copy_constructible_v<CbFunction<int const>>);
static_assert(!std::is_copy_assignable_v<CbFunction<int const>>);
// A callable that takes neither the value nor nothing is refused at compile time.
static_assert(!std::is_constructible_v<CbFunction<int const>, void (*)(const std::string &)>);
static_assert(std::is_constructible_v<CbFunction<CbEmptyType>, void (*)()>);

TEST(CbFunctionTest, CallsItsCallableWithTheValueInSubscriptionOrder) {
    std::vector<std::string> log;
    CbFunction<int const> first(
        [&log](const int &value) { log.push_back("a" + std::to_string(value)); });
    CbFunction<int const> second([&log](int value) { log.push_back("b" + std::to_string(value)); });
    CbFunction<int const> empty;
    CbDispatcher<int const> list;
    list.addHandler(&second);
    list.addHandler(&empty);
    list.addHandler(&first);
    list.call(7);
    EXPECT_EQ(log, (std::vector<std::string>{"b7", "a7"}));
}

TEST(CbFunctionTest, AListWithoutValueTakesCallablesWithoutArgument) {
    int calls = 0;
    auto counter = std::make_unique<CbFunction<CbEmptyType>>([&calls] { ++calls; });
    CbFunction<CbEmptyType> withValue([&calls](const CbEmptyType &) { calls += 10; });
    CbDispatcher<CbEmptyType> list;
    list.addHandler(counter.get());
    list.addHandler(&withValue);
    list.call();
    EXPECT_EQ(calls, 11);

    counter.reset(); // leaves the list
    EXPECT_EQ(list.getNbHandlers(), 1);
    list.call();
    EXPECT_EQ(calls, 21);
}

TEST(CbFunctionTest, WhatTheCallableRaisesStopsTheCall) {
    std::vector<int> reached;
    CbFunction<int const> raising([](int) { throw std::runtime_error("refused"); });
    CbFunction<int const> after([&reached](int value) { reached.push_back(value); });
    CbDispatcher<int const> list;
    list.addHandler(&raising);
    list.addHandler(&after);
    EXPECT_THROW(list.call(1), std::runtime_error);
    EXPECT_TRUE(reached.empty());
    // A call without value on a list of values stays an error, as for every handler.
    EXPECT_THROW(after.call(), Vo::RCExInvalidCall);
}

} // namespace
