#pragma once

#include "base/RCExNullPtr.h"

#include <gtest/gtest.h>

#include <string>

// Runs call, which must raise RCExNullPtr naming pointerType as the library spells it; one line for
// what each pointer test checks of a tested access through null.
template <class Call> void expectNullPointerError(Call call, const std::string &pointerType) {
    try {
        call();
        ADD_FAILURE() << "no null-pointer error naming " << pointerType;
    } catch (const Vo::RCExNullPtr &error) {
        EXPECT_EQ(error.getPointerType(), pointerType);
    }
}
