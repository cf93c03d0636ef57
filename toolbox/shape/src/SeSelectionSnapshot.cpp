#include "SeSelectionSnapshot.h"

#include "SeIdentityKey.h"
#include "SeShapeItem.h"
#include "SeShapeItems.h"
#include "SeShapeKeyIndex.h"
#include "SeShapeParts.h"
#include "SeSnapshotReader.h"

#include "base/RCExInvalidCall.h"
#include "base/RCExUtil.h"
#include "foundation/RCWeakAccessor.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiStructuredInput.h"

#include <new>
#include <sstream>
#include <typeinfo>
#include <utility>

namespace Vo {

namespace {

RCShdPtr<SeShapeSelector> checked(const RCShdPtr<SeShapeSelector> &selector) {
    if (selector.isNull()) {
        RCExUtil::throwExNullPtr(typeid(SeShapeSelector *).name());
    }
    return selector;
}

void appendList(std::ostringstream &out, const char *name, const std::vector<int> &indices) {
    out << ' ' << name;
    for (int index : indices) {
        out << ' ' << index;
    }
}

// The number of elements of a multi-valued input, 0 for none; for a single-valued one, what the
// application counts, -1 (no bound) when it does not.
int elementsOf(const RCShdPtr<PiInput> &input, const SeShapeInterface &shape,
               SeSelectionSnapshot::Elements kind, const SeSelectionSnapshot::Counter &count) {
    if (input.isNull()) {
        return 0;
    }
    const auto *elements = dynamic_cast<const PiMultivaluedInput *>(input.get());
    if (elements != nullptr) {
        return elements->getNbElements();
    }
    return count ? count(shape, kind) : -1;
}

// What is wrong with the indices for a shape of `count` elements; empty when nothing is.
std::string outOfRange(const char *noun, const std::vector<int> &indices, int count) {
    for (int index : indices) {
        if (index < 0 || (count >= 0 && index >= count)) {
            return std::string(noun) + " " + std::to_string(index) + " out of range (" +
                   (count < 0 ? std::string("an index is 0 or more")
                              : "the shape has " + std::to_string(count)) +
                   ")";
        }
    }
    return std::string();
}

// The shape of an entry, or what keeps it from resolving.
RCShdPtr<SeShape> resolveEntry(const SeSelectionSnapshot::Entry &entry,
                               const SeSelectionSnapshot::Resolver &resolve,
                               const SeSelectionSnapshot::Counter &count, std::string &problem) {
    const RCShdPtr<SeShape> shape = resolve(entry.key);
    const RCWeakPtr<SeShapeInterface> editing =
        shape.isNull() ? RCWeakPtr<SeShapeInterface>() : shape->getShapeInterface();
    if (editing.isNull()) {
        problem = "no live shape has that key";
        return RCShdPtr<SeShape>();
    }
    const RCWeakAccessor<SeShapeInterface> access(editing);
    const RCShdPtr<PiInput> curve = access->getCurveInput();
    const auto *structured = dynamic_cast<const PiStructuredInput *>(curve.get());
    using Elements = SeSelectionSnapshot::Elements;
    problem = outOfRange("point", entry.points,
                         structured == nullptr ? 0
                                               : elementsOf(structured->getInput("Points", 0),
                                                            *access, Elements::points, count));
    if (problem.empty()) {
        problem =
            outOfRange("handle", entry.handles,
                       elementsOf(access->getGradientInput(), *access, Elements::handles, count));
    }
    return problem.empty() ? shape : RCShdPtr<SeShape>();
}

RCShdPtr<SnItem const> itemOf(const SeSelectionSnapshot::Entry &entry,
                              const RCShdPtr<SeShape> &shape) {
    RCShdPtr<SnParts> parts;
    if (!entry.whole) {
        const RCShdPtr<SeShapeParts> exact(new SeShapeParts);
        for (int index : entry.points) {
            exact->appendPoint(index);
        }
        for (int index : entry.handles) {
            exact->appendHandle(index);
        }
        parts = exact;
    }
    return SeShapeItems::make(parts, shape->getShapeInterface());
}

} // namespace

SeSelectionSnapshot SeSelectionSnapshot::capture(const RCShdPtr<SeShapeSelector> &selector) {
    SeSelectionSnapshot snapshot;
    int place = 0;
    for (const RCShdPtr<SnItem const> &item : *checked(selector)->getCurrentSelection()) {
        const RCWeakPtr<SeShapeInterface> &editing = SeShapeItems::asShapeItem(item).getData();
        const RCShdPtr<SeShape> shape = editing.isNull()
                                            ? RCShdPtr<SeShape>()
                                            : RCWeakAccessor<SeShapeInterface>(editing)->getShape();
        const SeIdentityKey *key = shape.isNull() ? nullptr : SeShapeKeyIndex::promiseOf(*shape);
        if (key == nullptr) {
            throw RCExInvalidCall("selected shape " + std::to_string(place + 1) +
                                  (shape.isNull() ? " is gone" : " makes no identity-key promise"));
        }
        Entry entry;
        entry.key = key->getIdentityKey();
        const RCShdPtr<SeShapeParts const> parts = SeShapeItems::partsOf(*item);
        entry.whole = parts.isNull();
        if (!entry.whole) {
            entry.points.assign(parts->getPoints().begin(), parts->getPoints().end());
            entry.handles.assign(parts->getHandles().begin(), parts->getHandles().end());
        }
        snapshot.entries.push_back(entry);
        ++place;
    }
    snapshot.pickingType = selector->getPickingType();
    snapshot.pickingIndex = selector->getPickingIndex();
    snapshot.pickingExtremity = selector->getPickingExtremity();
    return snapshot;
}

std::string SeSelectionSnapshot::toText() const {
    std::ostringstream out;
    out.exceptions(std::ios::badbit); // memory running out raises: a text cut short reads as another
    try {
        out << SeSnapshotReader::form << ' ' << SeSnapshotReader::version << "\npicking "
            << static_cast<std::int32_t>(pickingType) << ' ' << pickingIndex << ' '
            << pickingExtremity << '\n';
        for (const Entry &entry : entries) {
            out << "shape " << entry.key;
            if (!entry.whole) {
                appendList(out, "points", entry.points);
                appendList(out, "handles", entry.handles);
            }
            out << '\n';
        }
        return out.str();
    } catch (const std::ios_base::failure &) {
        // A string stream fails only when its text cannot grow; some standard libraries (libc++)
        // catch the allocation's bad_alloc in the buffer and report the stream's failure instead.
        throw std::bad_alloc();
    }
}

SeSelectionSnapshot SeSelectionSnapshot::fromText(const std::string &text) {
    SeSnapshotReader read(text);
    SeSelectionSnapshot snapshot;
    snapshot.entries = std::move(read.entries);
    snapshot.pickingType = SeShapeSelector::PickingType{read.pickingType};
    snapshot.pickingIndex = read.pickingIndex;
    snapshot.pickingExtremity = read.pickingExtremity;
    return snapshot;
}

std::vector<std::string> SeSelectionSnapshot::restore(const RCShdPtr<SeShapeSelector> &selector,
                                                      const Resolver &resolve,
                                                      Unresolved unresolved,
                                                      const Counter &count) const {
    if (checked(selector)->isBatchOpen()) {
        throw RCExInvalidCall("cannot restore a selection while a batch is open on the selector");
    }
    const RCShdPtr<SnSelection> items = SnSelection::create();
    std::vector<std::string> skipped;
    for (std::size_t at = 0; at < entries.size(); ++at) {
        std::string problem;
        const RCShdPtr<SeShape> shape = resolveEntry(entries[at], resolve, count, problem);
        if (shape.isNull()) {
            const std::string named = "entry " + std::to_string(at + 1) + " (shape key " +
                                      std::to_string(entries[at].key) + "): " + problem;
            if (unresolved == Unresolved::refuse) {
                throw RCExInvalidCall("cannot restore the selection: " + named);
            }
            skipped.push_back(named);
            continue;
        }
        items->addItem(itemOf(entries[at], shape));
    }
    selector->restoreSelection(items);
    selector->setPickingType(pickingType);
    selector->setPickingIndex(pickingIndex);
    selector->setPickingExtremity(pickingExtremity);
    return skipped;
}

} // namespace Vo
