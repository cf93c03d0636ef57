#include "../BenchScene.h"

#include "SeSelectionChange.h"
#include "SeSelectionHistory.h"
#include "SeShapeSelector.h"

#include "base/CbEmptyType.h"
#include "foundation/CbFunction.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"

#include <QAbstractListModel>
#include <QItemSelectionModel>
#include <QModelIndex>
#include <QVariant>
#include <benchmark/benchmark.h>

#include <cstdint>

// The toolkit's own selection model beside the library, like for like: select all N rows (shapes,
// points) with a slot that lists the change, one more at the end and back, one out of the middle
// and back. The toolkit keeps one selection of ranges and tells its slots the ranges that changed;
// the library keeps the editor's selection, mirrors it into the application's (the editor's node,
// one object item per shape, two input items per point) and records every change in a history.
// BM_AnchorQt_* and BM_AnchorVo_* of the same operation and N form a pair (bench/README.md).
namespace {

using Vo::RCShdPtr;

int countOf(const benchmark::State &state) { return static_cast<int>(state.range(0)); }

// N rows of nothing: the selection model asks only for indexes.
class RowsModel : public QAbstractListModel {
public:
    explicit RowsModel(int count) : count(count) {}
    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : count; }
    QVariant data(const QModelIndex &, int) const override { return QVariant(); }

private:
    int count;
};

// How a slot reads a change: the indexes of both ranges listed, or their rows walked one by one
// as a view adding each would.
enum class Reading { indexes, rows };

// A selection model over N rows with a slot that reads every change, and what it read.
struct QtView {
    QtView(int count, Reading reading) : model(count), selection(&model) {
        QObject::connect(&selection, &QItemSelectionModel::selectionChanged,
                         [this, reading](const QItemSelection &in, const QItemSelection &out) {
                             read += reading == Reading::indexes ? listIndexes(in, out)
                                                                 : walkRows(in, out);
                         });
    }
    static std::int64_t listIndexes(const QItemSelection &in, const QItemSelection &out) {
        return in.indexes().size() + out.indexes().size();
    }
    static std::int64_t walkRows(const QItemSelection &in, const QItemSelection &out) {
        std::int64_t rows = 0;
        for (const QItemSelection *ranges : {&in, &out}) {
            for (const QItemSelectionRange &range : *ranges) {
                for (int row = range.top(); row <= range.bottom(); ++row) {
                    rows += row >= 0 ? 1 : 0;
                }
            }
        }
        return rows;
    }
    QItemSelection rows(int first, int last) const {
        return QItemSelection(model.index(first), model.index(last));
    }
    void select(int first, int last) { selection.select(rows(first, last), Flag::Select); }
    void deselect(int row) { selection.select(rows(row, row), Flag::Deselect); }

    using Flag = QItemSelectionModel::SelectionFlag;
    RowsModel model;
    QItemSelectionModel selection;
    std::int64_t read = 0;
};

void finish(benchmark::State &state, bool holds) {
    if (!holds) {
        state.SkipWithError("the selection is not what the operations should have left");
    }
    state.SetComplexityN(state.range(0));
}

void BM_AnchorQt_SelectAll(benchmark::State &state, Reading reading) {
    const int count = countOf(state);
    QtView view(count, reading);
    for (auto _ : state) {
        state.PauseTiming();
        view.selection.clearSelection();
        view.read = 0;
        state.ResumeTiming();
        view.select(0, count - 1);
    }
    finish(state, view.read == count && view.selection.isRowSelected(count - 1));
}
BENCHMARK_CAPTURE(BM_AnchorQt_SelectAll, ListingIndexes, Reading::indexes)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AnchorQt_SelectAll, RowByRow, Reading::rows)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

void BM_AnchorQt_OneMoreAndBack(benchmark::State &state) {
    const int count = countOf(state);
    QtView view(count, Reading::indexes);
    view.select(0, count - 2);
    for (auto _ : state) {
        view.select(count - 1, count - 1);
        view.deselect(count - 1);
    }
    finish(state, !view.selection.isRowSelected(count - 1) && view.selection.isRowSelected(0));
}
BENCHMARK(BM_AnchorQt_OneMoreAndBack)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_AnchorQt_OneOutOfTheMiddleAndBack(benchmark::State &state) {
    const int count = countOf(state);
    QtView view(count, Reading::indexes);
    view.select(0, count - 1);
    for (auto _ : state) {
        view.deselect(count / 2);
        view.select(count / 2, count / 2);
    }
    finish(state, view.selection.isRowSelected(count / 2));
}
BENCHMARK(BM_AnchorQt_OneOutOfTheMiddleAndBack)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);

// An editor of `shapes` shapes of `points` points with its updater and history, and a selection
// callback that lists what each change says came and went (all the shapes, or points, of a change
// that says to read them again).
struct VoView {
    VoView(int shapes, int points)
        : scene(shapes, points), history(scene.selector), selector(*scene.selector),
          listing([this] { listChange(); }) {
        selector.addSelectionChangedCallback(&listing);
    }
    ~VoView() { selector.removeSelectionChangedCallback(&listing); }
    VoView(const VoView &) = delete;
    VoView &operator=(const VoView &) = delete;

    void listChange() {
        const Vo::SeSelectionChange &change = selector.getLastChange();
        if (change.isWhole()) {
            shapesRead.clear();
            selector.getSelectedShapeInterfaces(shapesRead);
            read += static_cast<std::int64_t>(shapesRead.size());
        } else if (change.arePartsRewritten()) {
            selector.getSelectedPoints(pointsRead);
            read += static_cast<std::int64_t>(pointsRead.size());
        } else {
            read += static_cast<std::int64_t>(
                change.getShapesAdded().size() + change.getShapesRemoved().size() +
                change.getPointsAdded().size() + change.getPointsRemoved().size());
        }
    }

    VoBench::SceneEditor scene;
    Vo::SeSelectionHistory history;
    Vo::SeShapeSelector &selector;
    Vo::CbFunction<Vo::CbEmptyType> listing;
    Vo::Vector<Vo::RCWeakPtr<Vo::SeShapeInterface>> shapesRead;
    Vo::Vector<int> pointsRead;
    std::int64_t read = 0;
};

void BM_AnchorVo_SelectAllShapes(benchmark::State &state) {
    const int count = countOf(state);
    VoView view(count, 1);
    for (auto _ : state) {
        state.PauseTiming();
        view.selector.resetSelection();
        view.read = 0;
        state.ResumeTiming();
        view.selector.selectAllShapes(view.scene.iterateShapes());
    }
    finish(state, view.read == count && view.selector.getNbSelectedShape() == count);
}
BENCHMARK(BM_AnchorVo_SelectAllShapes)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_AnchorVo_SelectAllPoints(benchmark::State &state) {
    const int count = countOf(state);
    VoView view(1, count);
    for (auto _ : state) {
        state.PauseTiming();
        view.selector.unselectPoints();
        view.read = 0;
        state.ResumeTiming();
        view.selector.selectAllPoints(count);
    }
    finish(state, view.read == count && view.scene.hostSelection()->getNbItems() == 2 * count + 2);
}
BENCHMARK(BM_AnchorVo_SelectAllPoints)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_AnchorVo_OneMoreShapeAndBack(benchmark::State &state) {
    const int count = countOf(state);
    VoView view(count, 1);
    view.selector.setSelectedShapes(view.scene.firstShapes(count - 1));
    const RCShdPtr<Vo::SeShape> last = view.scene.shape(count - 1);
    for (auto _ : state) {
        view.selector.addSelectedShape(last);
        view.selector.unselectShape(last);
    }
    finish(state, view.selector.getNbSelectedShape() == count - 1);
}
BENCHMARK(BM_AnchorVo_OneMoreShapeAndBack)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_AnchorVo_OneShapeOutOfTheMiddleAndBack(benchmark::State &state) {
    const int count = countOf(state);
    VoView view(count, 1);
    view.selector.setSelectedShapes(view.scene.firstShapes(count));
    const RCShdPtr<Vo::SeShape> middle = view.scene.shape(count / 2);
    for (auto _ : state) {
        view.selector.unselectShape(middle);
        view.history.undo();
    }
    finish(state, view.selector.isShapeSelected(middle));
}
BENCHMARK(BM_AnchorVo_OneShapeOutOfTheMiddleAndBack)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_AnchorVo_OneMorePointAndBack(benchmark::State &state) {
    const int count = countOf(state);
    VoView view(1, count);
    view.selector.selectAllPoints(count - 1);
    for (auto _ : state) {
        view.selector.addSelectedPoint(count - 1);
        view.selector.unselectPoint(count - 1);
    }
    finish(state, view.selector.getPointSelectionRank(count - 1) == 0);
}
BENCHMARK(BM_AnchorVo_OneMorePointAndBack)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_AnchorVo_OnePointOutOfTheMiddleAndBack(benchmark::State &state) {
    const int count = countOf(state);
    VoView view(1, count);
    view.selector.selectAllPoints(count);
    for (auto _ : state) {
        view.selector.unselectPoint(count / 2);
        view.history.undo();
    }
    finish(state, view.selector.getPointSelectionRank(count / 2) == count / 2 + 1);
}
BENCHMARK(BM_AnchorVo_OnePointOutOfTheMiddleAndBack)->Arg(1000000)->Unit(benchmark::kMicrosecond);

} // namespace
