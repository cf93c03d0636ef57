#pragma once

#include "../base/RCBase.h"
#include "../foundation/VoFoundationExport.h"

namespace Vo {

/// The test behind a PrdPredicate<T>: says whether a value is accepted. Lives on the heap, shared
/// by every predicate made from it; evaluate must not change what the test accepts.
/// Thread safety: the count is atomic; evaluate is called on the thread that uses the predicate.
template <class T> class VO_FOUNDATION_API PrdPredicateImp : public RCBase<LkCounter<int>> {
public:
    PrdPredicateImp &operator=(const PrdPredicateImp &) = delete;

    /// Whether `value` passes the test.
    /// \param value the value tested
    virtual bool evaluate(const T &value) const = 0;

protected:
    PrdPredicateImp() noexcept = default;
    /// Tests are copied by the predicates that share them.
    PrdPredicateImp(const PrdPredicateImp &) noexcept = default;
    /// Only the last release of the count destroys a test.
    ~PrdPredicateImp() noexcept override = default;
};

} // namespace Vo
