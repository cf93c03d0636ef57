#pragma once

#include "../foundation/RCShdPtr.h"
#include "../foundation/Vector.h"
#include "../foundation/VoFoundationExport.h"
#include "PrdPredicateImp.h"

namespace Vo {

template <class T> class VO_FOUNDATION_API PrdPredicate;
template <class T>
PrdPredicate<T> operator&(const PrdPredicate<T> &left, const PrdPredicate<T> &right);

/// A value-semantic predicate over T: the conjunction of the tests it shares, evaluated in order
/// and stopping at the first that refuses. With no test (default-constructed, or made from a null
/// test) it accepts everything. Copies share the tests.
template <class T> class VO_FOUNDATION_API PrdPredicate {
public:
    PrdPredicate() = default;
    /// A predicate of the one test imp; a null imp gives the predicate that accepts everything.
    /// \param imp the test, shared with every copy, or null
    explicit PrdPredicate(const RCShdPtr<PrdPredicateImp<T>> &imp) {
        if (!imp.isNull()) {
            tests.push_back(imp);
        }
    }
    ///@{
    /// Copies and moves share the tests.
    PrdPredicate(const PrdPredicate &) = default;
    PrdPredicate(PrdPredicate &&) noexcept = default;
    PrdPredicate &operator=(const PrdPredicate &) = default;
    PrdPredicate &operator=(PrdPredicate &&) noexcept = default;
    ~PrdPredicate() = default;
    ///@}

    /// The test on `value`; a predicate without a test accepts everything. What a test raises
    /// passes to the caller.
    /// \param value the value tested
    bool evaluate(const T &value) const {
        for (const RCShdPtr<PrdPredicateImp<T>> &test : tests) {
            if (!test->evaluate(value)) {
                return false;
            }
        }
        return true;
    }
    /// The same as evaluate.
    /// \param value the value tested
    bool operator()(const T &value) const { return evaluate(value); }

private:
    friend PrdPredicate operator&<>(const PrdPredicate &left, const PrdPredicate &right);

    Vector<RCShdPtr<PrdPredicateImp<T>>> tests;
};

/// The predicate that accepts what both left and right accept; left's tests run first, and right's
/// are not run for a value that left refuses.
/// \param left, right the two predicates, whose tests the result shares
template <class T>
PrdPredicate<T> operator&(const PrdPredicate<T> &left, const PrdPredicate<T> &right) {
    PrdPredicate<T> both(left);
    both.tests.insert(both.tests.end(), right.tests.begin(), right.tests.end());
    return both;
}

} // namespace Vo
