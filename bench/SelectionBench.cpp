#include "foundation/List.h"
#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/ObHints.h"
#include "host/ObObserver.h"
#include "host/selection/Sn.h"
#include "host/selection/SnItemBasic.h"
#include "host/selection/SnPartsBasic.h"
#include "host/selection/SnSelection.h"

#include <benchmark/benchmark.h>

#include <utility>

namespace {

using Vo::RCShdPtr;
using Vo::SnItem;
using Vo::SnSelection;
using ItemPtr = RCShdPtr<SnItem const>;

// A selection of N items, each with a point selected, as an editor holds after a box selection.
RCShdPtr<SnSelection> makeSelection(int count) {
    Vo::List<ItemPtr> items;
    for (int i = 0; i < count; ++i) {
        auto *parts = new Vo::SnPartsBasic<int>();
        parts->append(i % 7);
        items.push_back(ItemPtr(new Vo::SnItemBasic<int>(RCShdPtr<Vo::SnParts>(parts), i)));
    }
    return SnSelection::create(items);
}

// Stands for the selection updater: one observer that looks at the hints it receives.
class HintCounter : public Vo::ObObserver<Vo::Sn> {
public:
    void update(Vo::ObSubject<Vo::Sn> *, const Vo::ObHints &hints) override {
        benchmark::DoNotOptimize(hints.getContainer().size());
    }
};

// The commit rule's comparison of two equal selections built apart: every item is compared.
void BM_SelectionIsEqual(benchmark::State &state) {
    const int count = static_cast<int>(state.range(0));
    const RCShdPtr<SnSelection const> a = makeSelection(count);
    const RCShdPtr<SnSelection const> b = makeSelection(count);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a->isEqual(b));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SelectionIsEqual)->Arg(1000)->Arg(10000)->Complexity();

// Swapping in a new version of the last item (the farthest one to find), with one observer told.
void BM_SelectionReplaceLastItem(benchmark::State &state) {
    const int count = static_cast<int>(state.range(0));
    const RCShdPtr<SnSelection> selection = makeSelection(count);
    HintCounter observer;
    selection->getSubject().attachObserver(&observer);
    ItemPtr current(new Vo::SnItemBasic<int>(RCShdPtr<Vo::SnParts>(), -1));
    ItemPtr last;
    for (const ItemPtr &item : *selection) {
        last = item;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(selection->replaceItem(last, current));
        last.swap(current);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SelectionReplaceLastItem)->Arg(1000)->Arg(10000)->Complexity();

} // namespace

// A new selection of N items that the caller has just listed, copied from a list or taken over
// from a vector (what the updater does with the 2N+2 items mirroring N selected points). The list
// or vector is made outside the timing; the selection's release is inside, the same for both.
void BM_SelectionCreateCopyingList(benchmark::State &state) {
    const RCShdPtr<SnSelection const> source = makeSelection(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        const Vo::List<ItemPtr> items(source->begin(), source->end());
        state.ResumeTiming();
        benchmark::DoNotOptimize(SnSelection::create(items));
    }
    state.SetComplexityN(state.range(0));
}
void BM_SelectionCreateTakingVector(benchmark::State &state) {
    const RCShdPtr<SnSelection const> source = makeSelection(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Vo::Vector<ItemPtr> items(source->begin(), source->end());
        state.ResumeTiming();
        benchmark::DoNotOptimize(SnSelection::createTaking(std::move(items)));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SelectionCreateCopyingList)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();
BENCHMARK(BM_SelectionCreateTakingVector)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();
