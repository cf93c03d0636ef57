#include "foundation/List.h"
#include "foundation/RCShdPtr.h"
#include "host/ObHints.h"
#include "host/ObObserver.h"
#include "host/Sn.h"
#include "host/SnItemBasic.h"
#include "host/SnPartsBasic.h"
#include "host/SnSelection.h"

#include <benchmark/benchmark.h>

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
