#pragma once

#include "foundation/RCShdPtr.h"
#include "host/PrdPredicateImp.h"
#include "host/selection/SnItem.h"

namespace VoTest {

// The application's item predicate: graph objects inside nodes may stand for shapes; nodes never.
// Each evaluation is counted by the fault switch (TestFaults) and raises when armed.
class TestItemPredicate : public Vo::PrdPredicateImp<Vo::RCShdPtr<Vo::SnItem const>> {
public:
    bool evaluate(const Vo::RCShdPtr<Vo::SnItem const> &item) const override;
};

} // namespace VoTest
