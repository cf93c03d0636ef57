#pragma once

#include "CbHandler.h"
#include "PtrMap.h"
#include "VoFoundationExport.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <unordered_set>
#include <vector>

namespace Vo {

/// An ordered list of subscribed handlers, called in order with a value of type T. It holds plain
/// pointers to its handlers and owns none; each handler holds a plain pointer back, and whichever
/// side is destroyed first unlinks itself from the other. Handlers given to the subscribing
/// operations must be alive; the other operations only compare pointers.
///
/// Re-entrancy: while a call runs, its handlers may subscribe and unsubscribe any handler of this
/// dispatcher (themselves included), destroy handlers, and call this dispatcher again. A call works
/// on the list as it stood when the call began: a handler unsubscribed before its turn is skipped,
/// a handler subscribed during the call is left for the next call, and a handler unsubscribed and
/// subscribed again before its turn is called once, at its original place. A handler may even
/// destroy the dispatcher: the call then ends after that handler.
///
/// Cost: a call on N handlers is O(N) and allocates nothing; it walks the list in place instead of
/// copying it. Subscribing and unsubscribing one handler are O(1) on average (plus the length of
/// the handler's own dispatcher list): the list keeps a hash index from handler to place, an
/// unsubscribed handler leaves an empty place that calls skip, and the places are packed again
/// once no call runs and they outnumber the handlers. Prepending is amortised O(1) (the list keeps
/// room at its front); inserting before the last handler moves only the last handler and the empty
/// places behind it. A handler subscribed again during a call costs one hash entry until the call
/// ends. Not thread-safe: a dispatcher and its handlers belong to one thread; nothing is locked.
template <class T> class VO_FOUNDATION_API CbDispatcher {
public:
    CbDispatcher() noexcept = default;
    CbDispatcher(const CbDispatcher &) = delete;
    CbDispatcher &operator=(const CbDispatcher &) = delete;
    /// Unlinks itself from every handler; the handlers are neither called nor destroyed.
    virtual ~CbDispatcher();

    /// The three subscribing operations ignore a null handler and one already subscribed (which
    /// keeps its place). Subscribes at the end.
    /// \param handler the handler to subscribe, or null; borrowed: it unsubscribes itself when
    /// destroyed
    void addHandler(CbHandler<T> *handler) { subscribe(handler, Where::Back); }
    /// Subscribes at the front.
    /// \param handler the handler to subscribe, or null; borrowed, as addHandler's
    void prependHandler(CbHandler<T> *handler) { subscribe(handler, Where::Front); }
    /// Subscribes just before the last handler, which stays last; does nothing on an empty list.
    /// \param handler the handler to subscribe, or null; borrowed, as addHandler's
    void insertHandler(CbHandler<T> *handler) {
        if (!isEmpty()) {
            subscribe(handler, Where::BeforeLast);
        }
    }
    /// Unsubscribes a handler; ignores a null handler and one that is not subscribed.
    /// \param handler the handler to unsubscribe, or null; not destroyed
    void removeHandler(CbHandler<T> *handler) noexcept;
    /// Unsubscribes every handler; none is destroyed.
    void removeAllHandlers() noexcept;

    /// Whether this handler is on the list.
    /// \param handler the handler looked for; null is never on the list
    bool isHandlerSubscribed(const CbHandler<T> *handler) const noexcept {
        return places.find(handler) != nullptr;
    }
    ///@{
    /// The number of handlers on the list; whether there is none.
    int getNbHandlers() const noexcept { return static_cast<int>(places.size()); }
    bool isEmpty() const noexcept { return places.empty(); }
    ///@}

    /// Calls every handler with the value, in list order. An exception from a handler ends the
    /// call and reaches the caller; the handlers after it are not called.
    /// \param value what every handler is called with
    void call(const T &value) {
        walk([&value](CbHandler<T> &handler) { handler.call(value); });
    }
    /// Calls every handler's call() in list order: each gets an empty value when T is
    /// CbEmptyType; for any other T the first handler raises RCExInvalidCall. Nothing happens on
    /// an empty list.
    void call() {
        walk([](CbHandler<T> &handler) { handler.call(); });
    }

private:
    class CallFrame;
    enum class Where { Front, Back, BeforeLast };
    using Stamp = std::uint32_t;
    /// A place in the list. A handler's place keeps its stamps: a call began at stamp S sees the
    /// places added before S, and a place emptied at or after S still stands for its handler in
    /// that call (which calls it there if the handler is subscribed again before its turn).
    struct Slot {
        CbHandler<T> *handler;
        Stamp added;
        Stamp removed; // kLive while the handler is subscribed here
    };
    ///@{
    /// Positions are logical: a place keeps its position while handlers are prepended, appended or
    /// removed; only packing (never during a call) and inserting before the last one move places.
    using Position = std::ptrdiff_t;
    static constexpr Stamp kLive = std::numeric_limits<Stamp>::max();
    ///@}
    /// Stamps start again from 0 at the next outermost call once they pass this.
    static constexpr Stamp kRestampAt = kLive / 2;

    Slot &slotAt(Position position) noexcept {
        return entries[static_cast<std::size_t>(position - shift)];
    }
    Position frontPosition() const noexcept { return static_cast<Position>(head) + shift; }
    Position endPosition() const noexcept { return static_cast<Position>(entries.size()) + shift; }
    bool isCalling() const noexcept { return activeCalls != nullptr; }
    Position positionOf(const Slot *slot) const noexcept { return (slot - entries.data()) + shift; }
    const Slot *slotPointer(Position position) const noexcept {
        return entries.data() + (position - shift);
    }
    /// Runs a change that may move the places in memory: the calls in progress hold positions
    /// meanwhile instead of pointers.
    template <class Change> void relocating(Change change);

    void subscribe(CbHandler<T> *handler, Where where);
    ///@{
    /// Makes room for one more place without changing any: the step of a subscription that may
    /// fail, done before anything changes.
    void reserveFor(Where where);
    void growFront();
    ///@}
    ///@{
    /// Writes the new place (room was reserved) and gives its position.
    Position place(CbHandler<T> *handler, Where where) noexcept;
    Position insertBeforeLast(const Slot &slot) noexcept;
    void vacate(Slot &slot) noexcept;
    ///@}
    ///@{
    /// Called once no call runs: forgets the handlers subscribed again during the calls, then drops
    /// the empty places at the end and packs the list when empty places outnumber the handlers.
    void tidy() noexcept;
    void pack() noexcept;
    void restamp() noexcept;
    Stamp beginCall() noexcept;
    bool isResubscribed(const CbHandler<T> *handler) const noexcept {
        return resubscribed && resubscribed->count(handler) != 0;
    }
    template <class Invoke> void walk(Invoke invoke);
    ///@}

    ///@{
    /// [0, head) is room for prepending; the places run from head to the end.
    std::vector<Slot> entries;
    std::size_t head = 0;
    Position shift = 0; // position of entries[i] is i + shift
    std::size_t nbVacated = 0;
    PtrMap<const CbHandler<T> *, Position> places;
    Stamp stamp = 0;
    ///@}
    /// The innermost call in progress; the calls it nests in are chained behind it.
    CallFrame *activeCalls = nullptr;
    ///@{
    /// Handlers subscribed while a call runs after some handler was unsubscribed during it; a call
    /// that began before such a handler's removal calls it at its old place. Made when first
    /// needed.
    bool vacatedDuringCall = false;
    std::unique_ptr<std::unordered_set<const CbHandler<T> *>> resubscribed;
    ///@}
};

/// One call in progress: the places it has still to visit and the stamp it began at. Owns
/// nothing; links itself into its dispatcher's chain of calls and unlinks itself on exit, also on
/// an exception, tidying the list when it was the outermost call.
template <class T> class CbDispatcher<T>::CallFrame {
public:
    /// Enters a call of `owner`'s handlers: the frame is pushed on the owner's stack of calls in
    /// progress.
    /// \param owner the dispatcher whose handlers are called; it clears the frame if it is
    /// destroyed meanwhile
    explicit CallFrame(CbDispatcher &owner) noexcept
        : dispatcher(&owner), outer(owner.activeCalls), began(owner.beginCall()),
          cursor(owner.entries.data() + owner.head),
          stop(owner.entries.data() + owner.entries.size()) {
// The frame unlinks itself on every way out, which the dangling-pointer check of g++ 12 and later
// does not follow.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
#endif
        owner.activeCalls = this;
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif
    }
    CallFrame(const CallFrame &) = delete;
    CallFrame &operator=(const CallFrame &) = delete;
    ~CallFrame() {
        if (dispatcher != nullptr) {
            dispatcher->activeCalls = outer;
            if (outer == nullptr) {
                dispatcher->tidy();
            }
        }
    }

    /// The call in progress this one runs inside, or null.
    CallFrame *getOuter() const noexcept { return outer; }

    /// Invokes, in order, each place that held a handler when the call began and holds it still
    /// (or again). Handlers may change the list, or destroy it: the dispatcher then moves or clears
    /// this frame's pointers.
    /// \param invoke called with each due handler; what it raises ends the run
    template <class Invoke> void run(Invoke invoke) {
        while (cursor != stop) {
            const Slot &slot = *cursor++;
            if (isDue(slot)) {
                invoke(*slot.handler);
            }
        }
    }

    ///@{
    /// Around a change that may move the places: positions instead of pointers meanwhile.
    void hold() noexcept {
        heldNext = dispatcher->positionOf(cursor);
        heldEnd = dispatcher->positionOf(stop);
    }
    void resume() noexcept {
        cursor = dispatcher->slotPointer(heldNext);
        stop = dispatcher->slotPointer(heldEnd);
    }
    ///@}
    /// While held: a place was inserted at position, and the places from there on moved back.
    /// \param position the logical position of the inserted place
    void shiftFrom(Position position) noexcept {
        heldNext += heldNext > position ? 1 : 0;
        heldEnd += heldEnd > position ? 1 : 0;
    }
    /// The dispatcher is being destroyed: end the call and never touch the dispatcher again.
    void orphan() noexcept {
        dispatcher = nullptr;
        cursor = stop = nullptr;
    }

private:
    bool isDue(const Slot &slot) const noexcept {
        if (slot.added >= began) {
            return false;
        }
        return slot.removed == kLive ||
               (slot.removed >= began && dispatcher->isResubscribed(slot.handler));
    }

    CbDispatcher *dispatcher;
    CallFrame *outer;
    Stamp began;
    const Slot *cursor;
    const Slot *stop;
    Position heldNext = 0;
    Position heldEnd = 0;
};

template <class T> CbDispatcher<T>::~CbDispatcher() {
    for (CallFrame *frame = activeCalls; frame != nullptr; frame = frame->getOuter()) {
        frame->orphan();
    }
    for (std::size_t i = head; i < entries.size(); ++i) {
        if (entries[i].removed == kLive) {
            entries[i].handler->removeDispatcher(this);
        }
    }
}

template <class T> void CbDispatcher<T>::subscribe(CbHandler<T> *handler, Where where) {
    if (handler == nullptr || isHandlerSubscribed(handler)) {
        return;
    }
    reserveFor(where);
    const bool remember = isCalling() && vacatedDuringCall;
    if (remember && !resubscribed) {
        resubscribed = std::make_unique<std::unordered_set<const CbHandler<T> *>>();
    }
    const bool remembered = remember && resubscribed->insert(handler).second;
    try {
        places.insert(handler, Position());
        try {
            handler->addDispatcher(this);
        } catch (...) {
            places.erase(handler); // keep the lists paired when the handler's list cannot grow
            throw;
        }
        const Position at = place(handler, where);
        *places.find(handler) = at;
    } catch (...) {
        if (remembered) {
            resubscribed->erase(handler);
        }
        throw;
    }
}

template <class T> template <class Change> void CbDispatcher<T>::relocating(Change change) {
    for (CallFrame *frame = activeCalls; frame != nullptr; frame = frame->getOuter()) {
        frame->hold();
    }
    const auto resumeAll = [this] {
        for (CallFrame *frame = activeCalls; frame != nullptr; frame = frame->getOuter()) {
            frame->resume();
        }
    };
    try {
        change();
    } catch (...) {
        resumeAll();
        throw;
    }
    resumeAll();
}

template <class T> void CbDispatcher<T>::reserveFor(Where where) {
    if (where != Where::Front) {
        if (entries.size() == entries.capacity()) {
            relocating([this] { entries.reserve(std::max<std::size_t>(2 * entries.size(), 4)); });
        }
        return;
    }
    if (head == 0) {
        relocating([this] { growFront(); });
    }
}

template <class T> void CbDispatcher<T>::growFront() {
    const std::size_t room = std::max<std::size_t>(entries.size(), 4);
    std::vector<Slot> grown;
    grown.reserve(room + entries.size());
    grown.resize(room, Slot{nullptr, 0, 0});
    grown.insert(grown.end(), entries.begin(), entries.end());
    entries.swap(grown);
    head = room;
    shift -= static_cast<Position>(room);
}

template <class T>
typename CbDispatcher<T>::Position CbDispatcher<T>::place(CbHandler<T> *handler,
                                                          Where where) noexcept {
    const Slot slot{handler, stamp, kLive};
    switch (where) {
    case Where::Front:
        entries[--head] = slot;
        return frontPosition();
    case Where::BeforeLast:
        return insertBeforeLast(slot);
    case Where::Back:
        break;
    }
    entries.push_back(slot); // room was reserved
    return endPosition() - 1;
}

template <class T>
typename CbDispatcher<T>::Position CbDispatcher<T>::insertBeforeLast(const Slot &slot) noexcept {
    Position last = endPosition() - 1;
    while (slotAt(last).removed != kLive) {
        --last;
    }
    relocating([&]() noexcept {
        entries.insert(entries.begin() + (last - shift), slot); // room was reserved
        for (CallFrame *frame = activeCalls; frame != nullptr; frame = frame->getOuter()) {
            frame->shiftFrom(last);
        }
    });
    *places.find(slotAt(last + 1).handler) = last + 1;
    return last;
}

template <class T> void CbDispatcher<T>::removeHandler(CbHandler<T> *handler) noexcept {
    const Position *found = places.find(handler);
    if (found == nullptr) {
        return;
    }
    Slot &slot = slotAt(*found);
    places.erase(handler);
    vacate(slot);
    if (!isCalling()) {
        tidy();
    }
}

template <class T> void CbDispatcher<T>::removeAllHandlers() noexcept {
    for (std::size_t i = head; i < entries.size(); ++i) {
        if (entries[i].removed == kLive) {
            vacate(entries[i]);
        }
    }
    places.clear();
    if (!isCalling()) {
        tidy();
    }
}

template <class T> void CbDispatcher<T>::vacate(Slot &slot) noexcept {
    slot.removed = stamp;
    ++nbVacated;
    if (isCalling()) {
        vacatedDuringCall = true;
        if (resubscribed) {
            resubscribed->erase(slot.handler);
        }
    }
    slot.handler->removeDispatcher(this);
}

template <class T> void CbDispatcher<T>::tidy() noexcept {
    vacatedDuringCall = false;
    resubscribed.reset();
    while (entries.size() > head && entries.back().removed != kLive) {
        entries.pop_back();
        --nbVacated;
    }
    if (nbVacated > places.size()) {
        pack();
    }
}

template <class T> void CbDispatcher<T>::pack() noexcept {
    // In place, front to back: a place only ever moves forward.
    std::size_t kept = 0;
    for (std::size_t i = head; i < entries.size(); ++i) {
        if (entries[i].removed == kLive) {
            entries[kept] = entries[i];
            *places.find(entries[kept].handler) = static_cast<Position>(kept);
            ++kept;
        }
    }
    entries.resize(kept);
    head = 0;
    shift = 0;
    nbVacated = 0;
}

template <class T> void CbDispatcher<T>::restamp() noexcept {
    for (std::size_t i = head; i < entries.size(); ++i) {
        entries[i].added = 0;
        if (entries[i].removed != kLive) {
            entries[i].removed = 0;
        }
    }
    stamp = 0;
}

template <class T> typename CbDispatcher<T>::Stamp CbDispatcher<T>::beginCall() noexcept {
    if (!isCalling() && stamp >= kRestampAt) {
        restamp();
    }
    return ++stamp;
}

template <class T> template <class Invoke> void CbDispatcher<T>::walk(Invoke invoke) {
    if (isEmpty()) {
        return;
    }
    CallFrame frame(*this);
    frame.run(invoke); // a handler may destroy this dispatcher: the frame then stops
}

} // namespace Vo
