// Differential fuzzer of the index sets: decodes the input into a program of set operations on two
// SnPartsBasic<int> sets and two SeShapeParts (which may become versions of one family, made one
// from the other), runs it, and after every step compares each set with a plain ordered-vector
// model of the documented rules; aborts on the first difference.

#include "FuzzByteReader.h"
#include "IndexModel.h"
#include "SeShapeParts.h"
#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/selection/SnParts.h"
#include "host/selection/SnPartsBasic.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unordered_set>
#include <vector>

namespace {

using Vo::RCShdPtr;
using Vo::SeShapeParts;
using Vo::SnParts;
using Vo::SnPartsBasic;
using Model = std::vector<int>;
using Basic = SnPartsBasic<int>;

using ByteReader = VoFuzz::FuzzByteReader;

void check(bool holds, const char *what) {
    if (!holds) {
        std::fprintf(stderr, "index sets differ from the model: %s\n", what);
        std::abort();
    }
}

// Dense indices across the first bit words, negative ones, indices around the dense limit and
// the extremes of int, so that both the bit vector and the hash set are exercised.
int drawIndex(ByteReader &in) {
    const std::uint8_t kind = in.next();
    const std::uint8_t value = in.next();
    switch (kind % 8) {
    case 4:
        return -1 - value % 48;
    case 5:
        return (value & 1U) != 0 ? INT_MAX - value % 8 : INT_MIN + value % 8;
    case 6:
        return 1000 + value * 37;
    case 7:
        return 1 << (value % 31);
    default:
        return value % 160;
    }
}

// Small runs that cross word boundaries, empty and negative counts, and runs ending at INT_MAX.
int drawCount(ByteReader &in) {
    const std::uint8_t value = in.next();
    return (value & 0x80U) != 0 ? (value & 0x7FU) * 24 : static_cast<int>(value % 80) - 8;
}

bool modelHas(const Model &model, int index) {
    return std::find(model.begin(), model.end(), index) != model.end();
}

std::unordered_set<int> members(const Model &model) {
    return std::unordered_set<int>(model.begin(), model.end());
}

bool modelAppend(Model &model, int index) {
    if (modelHas(model, index)) {
        return false;
    }
    model.push_back(index);
    return true;
}

bool modelRemove(Model &model, int index) {
    const auto it = std::find(model.begin(), model.end(), index);
    if (it == model.end()) {
        return false;
    }
    model.erase(it);
    return true;
}

// The operations on the models take the other model by value: it may be the model itself.
void appendMissing(Model &model, const Model &other, Model *appended) {
    std::unordered_set<int> present = members(model);
    for (int index : other) {
        if (present.insert(index).second) {
            model.push_back(index);
            if (appended != nullptr) {
                appended->push_back(index);
            }
        }
    }
}

void modelAppendRange(Model &model, int first, int count) {
    Model run;
    for (std::int64_t index = first; index < std::int64_t(first) + count && index <= INT_MAX;
         ++index) {
        run.push_back(static_cast<int>(index));
    }
    appendMissing(model, run, nullptr);
}

bool modelUnion(Model &model, Model other) {
    const std::size_t before = model.size();
    appendMissing(model, other, nullptr);
    return model.size() != before;
}

bool modelDifference(Model &model, Model other) {
    const std::unordered_set<int> dropped = members(other);
    const std::size_t before = model.size();
    model.erase(std::remove_if(model.begin(), model.end(),
                               [&dropped](int index) { return dropped.count(index) != 0; }),
                model.end());
    return model.size() != before;
}

bool modelXor(Model &model, Model other) {
    Model missing;
    Model kept(model);
    appendMissing(kept, other, &missing);
    const bool dropped = modelDifference(model, other);
    model.insert(model.end(), missing.begin(), missing.end());
    return dropped || !missing.empty();
}

void modelInsertAt(Model &model, std::size_t position, int index) {
    if (!modelHas(model, index)) {
        model.insert(model.begin() + static_cast<std::ptrdiff_t>(std::min(position, model.size())),
                     index);
    }
}

int modelRank(const Model &model, int index) {
    const auto at = std::find(model.begin(), model.end(), index);
    return at == model.end() ? 0 : static_cast<int>(at - model.begin()) + 1;
}

bool modelContains(const Model &model, const Model &other) {
    const std::unordered_set<int> present = members(model);
    return std::all_of(other.begin(), other.end(),
                       [&present](int index) { return present.count(index) != 0; });
}

void checkSet(const Basic &set, const Model &model, const Model &probes) {
    check(set.getParts() == Vo::Vector<int>(model.begin(), model.end()), "indices or their order");
    check(set.getSize() == static_cast<int>(model.size()), "getSize");
    check(set.isEmpty() == model.empty(), "isEmpty");
    for (int index : probes) {
        check(set.hasPart(index) == modelHas(model, index), "hasPart");
    }
}

// One index set under test with its model.
struct BasicCase {
    RCShdPtr<Basic> set{new Basic()};
    Model model;
};

// One shape's parts under test with a model per set.
struct ShapeCase {
    RCShdPtr<SeShapeParts> parts{new SeShapeParts()};
    Model points;
    Model handles;
};

// The whole program state: two cases of each kind, and the indices seen so far as hasPart probes.
struct State {
    BasicCase basics[2];
    ShapeCase shapes[2];
    Model probes;
};

enum Operation {
    Append,
    Remove,
    AppendRange,
    HasPart,
    Union,
    Difference,
    Xor,
    Contains,
    IsEqual,
    Clear,
    ReplaceAll,
    ReplaceOne,
    InsertAt,
    Renumber,
    Clone,
    OperationCount
};

// The argument of a whole-object operation: the partner, the object itself, null, or parts of
// the other class (for which the documented answers are fixed).
enum ArgumentKind { Partner, Self, Null, Foreign };

void runBasic(State &state, Operation operation, ByteReader &in) {
    const std::size_t which = in.next() % 2;
    const auto argument = static_cast<ArgumentKind>(in.next() % 4);
    BasicCase &mine = state.basics[which];
    const BasicCase &partner = argument == Self ? mine : state.basics[1 - which];
    const bool basicArgument = argument == Partner || argument == Self;
    RCShdPtr<SnParts const> other;
    if (basicArgument) {
        other = partner.set;
    } else if (argument == Foreign) {
        other = state.shapes[0].parts;
    }
    Basic &set = *mine.set;
    switch (operation) {
    case Append:
    case Remove:
    case HasPart: {
        const int index = drawIndex(in);
        state.probes.push_back(index);
        if (operation == Append) {
            set.append(index);
            modelAppend(mine.model, index);
        } else if (operation == Remove) {
            set.remove(index);
            modelRemove(mine.model, index);
        }
        break;
    }
    case AppendRange: {
        const int first = drawIndex(in);
        const int count = drawCount(in);
        set.appendRange(first, count);
        modelAppendRange(mine.model, first, count);
        state.probes.push_back(first);
        break;
    }
    case Union:
        check(set.unionWith(other) == (basicArgument && modelUnion(mine.model, partner.model)),
              "unionWith report");
        break;
    case Difference:
        check(set.differenceWith(other) ==
                  (basicArgument && modelDifference(mine.model, partner.model)),
              "differenceWith report");
        break;
    case Xor:
        check(set.xorWith(other) == (basicArgument && modelXor(mine.model, partner.model)),
              "xorWith report");
        break;
    case Contains:
        check(set.contains(other) ==
                  (argument == Null || (basicArgument && modelContains(mine.model, partner.model))),
              "contains");
        break;
    case IsEqual:
        check(set.isEqual(other) == (basicArgument && mine.model == partner.model), "isEqual");
        break;
    case Clear:
        set.clear();
        mine.model.clear();
        break;
    case ReplaceAll:
    case ReplaceOne:
        set.replaceAllParts(other);
        if (basicArgument) {
            mine.model = Model(partner.model);
        }
        break;
    case InsertAt: {
        const std::size_t position = in.next() % (mine.model.size() + 2);
        const int index = drawIndex(in);
        state.probes.push_back(index);
        set.insertAt(position, index);
        modelInsertAt(mine.model, position, index);
        break;
    }
    case Renumber: {
        const int at = drawIndex(in);
        const bool added = (in.next() & 1U) != 0;
        state.probes.push_back(at);
        check(set.renumber(at, added) == VoTest::IndexModel::renumber(mine.model, at, added),
              "renumber report");
        break;
    }
    default: {
        const RCShdPtr<SnParts> copy(set.clone());
        check(set.isEqual(copy) && copy->isEqual(mine.set), "clone equals its source");
        break;
    }
    }
}

void runShapeIndexOperation(ShapeCase &mine, Operation operation, bool points, ByteReader &in,
                            Model &probes) {
    SeShapeParts &parts = *mine.parts;
    Model &model = points ? mine.points : mine.handles;
    const int index = drawIndex(in);
    probes.push_back(index);
    switch (operation) {
    case Append:
        points ? parts.appendPoint(index) : parts.appendHandle(index);
        modelAppend(model, index);
        break;
    case Remove:
        points ? parts.removePoint(index) : parts.removeHandle(index);
        modelRemove(model, index);
        break;
    case AppendRange: {
        const int count = drawCount(in);
        points ? parts.appendPointRange(index, count) : parts.appendHandleRange(index, count);
        modelAppendRange(model, index, count);
        break;
    }
    default:
        check((points ? parts.hasPoint(index) : parts.hasHandle(index)) == modelHas(model, index),
              "hasPoint / hasHandle");
        break;
    }
}

// Parts made from the case itself or from its partner, one index in or out or renumbered: the two
// cases may then be versions of one family that hand their sets to each other.
void runShapeVersion(ShapeCase &mine, const ShapeCase &source, Operation operation, bool points,
                     ByteReader &in, Model &probes) {
    const SeShapeParts &from = *source.parts;
    Model pointsAfter = source.points;
    Model handlesAfter = source.handles;
    Model &model = points ? pointsAfter : handlesAfter;
    const int index = drawIndex(in);
    const std::uint8_t how = in.next();
    probes.push_back(index);
    RCShdPtr<SeShapeParts> made;
    if (operation == InsertAt && (how & 1U) != 0) {
        made = points ? from.withPointAppended(index) : from.withHandleAppended(index);
        modelAppend(model, index);
    } else if (operation == InsertAt) {
        made = points ? from.withPointRemoved(index) : from.withHandleRemoved(index);
        modelRemove(model, index);
    } else {
        const bool added = (how & 1U) != 0;
        // The caller's rank: right, one off, or unknown.
        const int rank = (how & 6U) == 0 ? -1 : modelRank(model, index) + (how >> 1) % 3 - 1;
        made = points ? from.renumberedPoints(index, added, rank)
                      : from.renumberedHandles(index, added, rank);
        VoTest::IndexModel::renumber(model, index, added);
    }
    mine.parts = made;
    mine.points.swap(pointsAfter);
    mine.handles.swap(handlesAfter);
}

bool bothSets(ShapeCase &mine, const ShapeCase &partner, bool (*modelOperation)(Model &, Model)) {
    const bool pointsChanged = modelOperation(mine.points, partner.points);
    const bool handlesChanged = modelOperation(mine.handles, partner.handles);
    return pointsChanged || handlesChanged;
}

void runShape(State &state, Operation operation, ByteReader &in) {
    const std::uint8_t selector = in.next();
    const std::size_t which = selector % 2;
    const bool points = (selector & 2U) != 0;
    const auto argument = static_cast<ArgumentKind>(in.next() % 4);
    ShapeCase &mine = state.shapes[which];
    const ShapeCase &partner = argument == Self ? mine : state.shapes[1 - which];
    const bool shapeArgument = argument == Partner || argument == Self;
    RCShdPtr<SnParts const> other;
    if (shapeArgument) {
        other = partner.parts;
    } else if (argument == Foreign) {
        other = state.basics[0].set;
    }
    SeShapeParts &parts = *mine.parts;
    switch (operation) {
    case Append:
    case Remove:
    case AppendRange:
    case HasPart:
        runShapeIndexOperation(mine, operation, points, in, state.probes);
        break;
    case Union:
        check(parts.unionWith(other) == (shapeArgument && bothSets(mine, partner, modelUnion)),
              "shape unionWith report");
        break;
    case Difference:
        check(parts.differenceWith(other) ==
                  (shapeArgument && bothSets(mine, partner, modelDifference)),
              "shape differenceWith report");
        break;
    case Xor:
        check(parts.xorWith(other) == (shapeArgument && bothSets(mine, partner, modelXor)),
              "shape xorWith report");
        break;
    case Contains:
        check(
            parts.contains(other) ==
                (argument == Null || (shapeArgument && modelContains(mine.points, partner.points) &&
                                      modelContains(mine.handles, partner.handles))),
            "shape contains");
        break;
    case IsEqual:
        check(parts.isEqual(other) == (shapeArgument && mine.points == partner.points &&
                                       mine.handles == partner.handles),
              "shape isEqual");
        break;
    case Clear:
        if ((selector & 4U) != 0) {
            points ? parts.clearPoints() : parts.clearHandles();
            (points ? mine.points : mine.handles).clear();
        } else {
            parts.clear();
            mine.points.clear();
            mine.handles.clear();
        }
        break;
    case ReplaceAll:
        parts.replaceAllParts(other);
        if (shapeArgument) {
            mine.points = Model(partner.points);
            mine.handles = Model(partner.handles);
        }
        break;
    case ReplaceOne:
        points ? parts.replaceAllPoints(other) : parts.replaceAllHandles(other);
        if (shapeArgument) {
            (points ? mine.points : mine.handles) =
                Model(points ? partner.points : partner.handles);
        }
        break;
    case InsertAt:
    case Renumber:
        runShapeVersion(mine, (selector & 4U) != 0 ? state.shapes[1 - which] : mine, operation,
                        points, in, state.probes);
        break;
    default: {
        const RCShdPtr<SnParts> copy(parts.clone());
        check(parts.isEqual(copy) && copy->isEqual(mine.parts), "shape clone equals its source");
        break;
    }
    }
}

void checkAll(const State &state) {
    for (const BasicCase &basic : state.basics) {
        checkSet(*basic.set, basic.model, state.probes);
    }
    for (const ShapeCase &shape : state.shapes) {
        check(shape.parts->getPoints() == Vo::Vector<int>(shape.points.begin(), shape.points.end()),
              "shape points or their order");
        check(shape.parts->getHandles() ==
                  Vo::Vector<int>(shape.handles.begin(), shape.handles.end()),
              "shape handles or their order");
        check(shape.parts->getSize() ==
                  static_cast<int>(shape.points.size() + shape.handles.size()),
              "shape getSize");
        check(shape.parts->isEmpty() == (shape.points.empty() && shape.handles.empty()),
              "shape isEmpty");
        for (int index : state.probes) {
            check(shape.parts->hasPoint(index) == modelHas(shape.points, index), "hasPoint");
            check(shape.parts->hasHandle(index) == modelHas(shape.handles, index), "hasHandle");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    ByteReader in(data, size);
    State state;
    while (!in.atEnd()) {
        const std::uint8_t code = in.next();
        const auto operation = static_cast<Operation>((code >> 1) % OperationCount);
        if ((code & 1U) != 0) {
            runShape(state, operation, in);
        } else {
            runBasic(state, operation, in);
        }
        if (state.probes.size() > 64) {
            state.probes.erase(state.probes.begin(), state.probes.end() - 64);
        }
        checkAll(state);
    }
    return 0;
}
