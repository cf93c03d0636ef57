#include "SeSelectionSnapshot.h"

#include "SeIdentityKey.h"
#include "SeShapeItem.h"
#include "SeShapeItems.h"
#include "SeShapeKeyIndex.h"
#include "SeShapeParts.h"

#include "base/RCExInvalidCall.h"
#include "base/RCExUtil.h"
#include "foundation/RCWeakAccessor.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiStructuredInput.h"

#include <climits>
#include <sstream>
#include <typeinfo>

namespace Vo {

namespace {

const char *const header = "voshape-selection 1";

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

// The number of elements of a multi-valued input; -1 (no bound) for a single-valued one, 0 for
// none.
int elementsOf(const RCShdPtr<PiInput> &input) {
    if (input.isNull()) {
        return 0;
    }
    const auto *elements = dynamic_cast<const PiMultivaluedInput *>(input.get());
    return elements == nullptr ? -1 : elements->getNbElements();
}

// What is wrong with the indices for a shape of `count` elements; empty when nothing is.
std::string outOfRange(const char *noun, const std::vector<int> &indices, int count) {
    for (int index : indices) {
        if (index < 0 || (count >= 0 && index >= count)) {
            return std::string(noun) + " " + std::to_string(index) +
                   " out of range (the shape has " + std::to_string(count < 0 ? 0 : count) + ")";
        }
    }
    return std::string();
}

// The shape of an entry, or what keeps it from resolving.
RCShdPtr<SeShape> resolveEntry(const SeSelectionSnapshot::Entry &entry,
                               const SeSelectionSnapshot::Resolver &resolve, std::string &problem) {
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
    problem = outOfRange("point", entry.points,
                         structured == nullptr ? 0 : elementsOf(structured->getInput("Points", 0)));
    if (problem.empty()) {
        problem = outOfRange("handle", entry.handles, elementsOf(access->getGradientInput()));
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

[[noreturn]] void malformed(int line, const std::string &what, const std::string &expected) {
    throw RCExInvalidCall("line " + std::to_string(line) + ": " + what + " (expected " + expected +
                          ")");
}

// The indices after a list's name, up to the next name or the end.
std::vector<int> readIndices(std::istringstream &words, std::string &next, int line) {
    std::vector<int> indices;
    for (next.clear(); words >> next && next != "points" && next != "handles"; next.clear()) {
        std::size_t used = 0;
        long long value = 0;
        try {
            value = std::stoll(next, &used);
        } catch (...) {
            used = 0;
        }
        if (used != next.size() || value < INT_MIN || value > INT_MAX) {
            malformed(line, "index \"" + next + "\"", "an integer");
        }
        indices.push_back(static_cast<int>(value));
    }
    return indices;
}

SeSelectionSnapshot::Entry readShape(std::istringstream &words, int line) {
    SeSelectionSnapshot::Entry entry;
    if (!(words >> entry.key)) {
        malformed(line, "a shape line without key", "shape KEY [points I...] [handles I...]");
    }
    std::string next;
    words >> next;
    if (next.empty()) {
        return entry;
    }
    entry.whole = false;
    if (next == "points") {
        entry.points = readIndices(words, next, line);
    }
    if (next == "handles") {
        entry.handles = readIndices(words, next, line);
    }
    if (!next.empty()) {
        malformed(line, "\"" + next + "\"", "points, then handles");
    }
    return entry;
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
    out << header << "\npicking " << static_cast<std::int32_t>(pickingType) << ' ' << pickingIndex
        << ' ' << pickingExtremity << '\n';
    for (const Entry &entry : entries) {
        out << "shape " << entry.key;
        if (!entry.whole) {
            appendList(out, "points", entry.points);
            appendList(out, "handles", entry.handles);
        }
        out << '\n';
    }
    return out.str();
}

SeSelectionSnapshot SeSelectionSnapshot::fromText(const std::string &text) {
    SeSelectionSnapshot snapshot;
    std::istringstream lines(text);
    std::string line;
    bool started = false;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line);
        std::string first;
        if (!(words >> first) || first.front() == '#') {
            continue;
        }
        if (!started) {
            if (line != header) {
                malformed(number, "\"" + line + "\"", std::string("\"") + header + "\" first");
            }
            started = true;
        } else if (first == "picking") {
            std::int32_t type = 0;
            std::string rest;
            if (!(words >> type >> snapshot.pickingIndex >> snapshot.pickingExtremity) ||
                words >> rest) {
                malformed(number, "a malformed picking line", "picking TYPE INDEX EXTREMITY");
            }
            snapshot.pickingType = SeShapeSelector::PickingType{type};
        } else if (first == "shape") {
            snapshot.entries.push_back(readShape(words, number));
        } else {
            malformed(number, "\"" + first + "\"", "picking or shape");
        }
    }
    if (!started) {
        malformed(1, "an empty text", std::string("\"") + header + "\"");
    }
    return snapshot;
}

std::vector<std::string> SeSelectionSnapshot::restore(const RCShdPtr<SeShapeSelector> &selector,
                                                      const Resolver &resolve,
                                                      Unresolved unresolved) const {
    if (checked(selector)->isBatchOpen()) {
        throw RCExInvalidCall("cannot restore a selection while a batch is open on the selector");
    }
    const RCShdPtr<SnSelection> items = SnSelection::create();
    std::vector<std::string> skipped;
    for (std::size_t at = 0; at < entries.size(); ++at) {
        std::string problem;
        const RCShdPtr<SeShape> shape = resolveEntry(entries[at], resolve, problem);
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
