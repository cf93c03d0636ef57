#pragma once

#include "foundation/RCShdPtr.h"
#include "host/PrdPredicateImp.h"
#include "host/SnItem.h"

namespace VoExample {

// The application's test of which items of its global selection may stand for shapes: graph
// objects that live inside a node (a shape's object in the tool node), never nodes themselves. The
// updater adds its own test that the object's node is a tool node. Shared, counted atomically.
class AppItemPredicate : public Vo::PrdPredicateImp<Vo::RCShdPtr<Vo::SnItem const>> {
public:
    bool evaluate(const Vo::RCShdPtr<Vo::SnItem const> &item) const override;
};

} // namespace VoExample
