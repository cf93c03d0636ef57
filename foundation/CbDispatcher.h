#pragma once

#include "CbHandler.h"
#include "VoFoundationExport.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

namespace Vo {

// An ordered list of subscribed handlers, called in order with a value of type T. It holds plain
// pointers to its handlers and owns none; each handler holds a plain pointer back, and whichever
// side is destroyed first unlinks itself from the other. Handlers given to the subscribing
// operations must be alive; the other operations only compare pointers.
//
// Re-entrancy: while a call runs, its handlers may subscribe and unsubscribe any handler of this
// dispatcher (themselves included), destroy handlers, and call this dispatcher again. A call works
// on the list as it stood when the call began: a handler unsubscribed before its turn is skipped,
// a handler subscribed during the call is left for the next call, and a handler unsubscribed and
// subscribed again before its turn is called once, at its original place. A handler may even
// destroy the dispatcher: the call then ends after that handler.
//
// Cost: a call on N handlers is O(N) and allocates once for its copy of the list, not at all for
// up to four handlers; a call that unsubscribes and subscribes again builds one index. Subscribing
// costs the length of the handler's own dispatcher list; unsubscribing one handler is O(N).
// Not thread-safe: a dispatcher and its handlers belong to one thread; nothing is locked.
template <class T> class VO_FOUNDATION_API CbDispatcher {
public:
    CbDispatcher() noexcept = default;
    CbDispatcher(const CbDispatcher &) = delete;
    CbDispatcher &operator=(const CbDispatcher &) = delete;
    // Unlinks itself from every handler; the handlers are neither called nor destroyed.
    virtual ~CbDispatcher();

    // The three subscribing operations ignore a null handler and one already subscribed (which
    // keeps its place). Subscribes at the end.
    void addHandler(CbHandler<T> *handler) { subscribe(handler, handlers.size()); }
    // Subscribes at the front.
    void prependHandler(CbHandler<T> *handler) { subscribe(handler, 0); }
    // Subscribes just before the last handler, which stays last; does nothing on an empty list.
    void insertHandler(CbHandler<T> *handler) {
        if (!handlers.empty()) {
            subscribe(handler, handlers.size() - 1);
        }
    }
    // Ignores a null handler and one that is not subscribed.
    void removeHandler(CbHandler<T> *handler) noexcept;
    void removeAllHandlers() noexcept;

    bool isHandlerSubscribed(const CbHandler<T> *handler) const noexcept {
        return handler != nullptr && find(handler) != handlers.end();
    }
    int getNbHandlers() const noexcept { return static_cast<int>(handlers.size()); }
    bool isEmpty() const noexcept { return handlers.empty(); }

    // Calls every handler with the value, in list order. An exception from a handler ends the
    // call and reaches the caller; the handlers after it are not called.
    void call(const T &value) {
        walk([&value](CbHandler<T> &handler) { handler.call(value); });
    }
    // Calls every handler's call() in list order: each gets an empty value when T is
    // CbEmptyType; for any other T the first handler raises RCExInvalidCall. Nothing happens on
    // an empty list.
    void call() {
        walk([](CbHandler<T> &handler) { handler.call(); });
    }

private:
    class CallFrame;
    using Handlers = std::vector<CbHandler<T> *>;

    typename Handlers::const_iterator find(const CbHandler<T> *handler) const noexcept {
        return std::find(handlers.begin(), handlers.end(), handler);
    }
    void subscribe(CbHandler<T> *handler, std::size_t position);
    // Visits the calls in progress, innermost first.
    template <class Visit> void forEachCall(Visit visit) const {
        for (CallFrame *frame = activeCalls; frame != nullptr; frame = frame->getOuter()) {
            visit(*frame);
        }
    }
    template <class Invoke> void walk(Invoke invoke);

    Handlers handlers;
    // The innermost call in progress; the calls it nests in are chained behind it.
    CallFrame *activeCalls = nullptr;
};

// One call in progress: the handler list as it stood when the call began. Owns that snapshot, not
// the handlers: an entry is marked live exactly while its handler is subscribed, so a live entry
// is never a destroyed handler. Links itself into its dispatcher's chain of calls and unlinks
// itself on exit, also on an exception.
template <class T> class CbDispatcher<T>::CallFrame {
public:
    explicit CallFrame(CbDispatcher &owner)
        : dispatcher(&owner), outer(owner.activeCalls), first(storageFor(owner.handlers.size())),
          last(std::transform(owner.handlers.begin(), owner.handlers.end(), first,
                              [](CbHandler<T> *handler) {
                                  return Entry{handler, true};
                              })) {
// The frame unlinks itself on every way out, which the dangling-pointer check of g++ 12 and later
// does not follow.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
#endif
        owner.activeCalls = this; // last: a failed copy leaves the chain as it was
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif
    }
    CallFrame(const CallFrame &) = delete;
    CallFrame &operator=(const CallFrame &) = delete;
    ~CallFrame() {
        if (dispatcher != nullptr) {
            dispatcher->activeCalls = outer;
        }
    }

    CallFrame *getOuter() const noexcept { return outer; }

    // Invokes each live entry in order. The snapshot never changes size, so its bounds hold for
    // the whole call; only the marks change, and each is read just before its turn.
    template <class Invoke> void run(Invoke invoke) {
        const Entry *const end = last;
        for (const Entry *entry = first; entry != end; ++entry) {
            if (entry->live) {
                invoke(*entry->handler);
            }
        }
    }

    // The handler was unsubscribed: skip it. Allocates nothing, so destructors may get here.
    void forget(const CbHandler<T> *handler) noexcept {
        for (Entry *entry = first; entry != last; ++entry) {
            if (entry->handler == handler) {
                skip(*entry);
                return;
            }
        }
    }
    void forgetAll() noexcept {
        for (Entry *entry = first; entry != last; ++entry) {
            skip(*entry);
        }
    }

    // Builds the index that restore() needs, once per call and only after a skip: without one,
    // every snapshot handler is still subscribed, so none can be subscribed again. The only part
    // of a subscription during a call that can fail, so it runs before either list changes.
    void prepareRestore() {
        if (!anySkipped || positions) {
            return;
        }
        positions = std::make_unique<Positions>();
        positions->reserve(static_cast<std::size_t>(last - first));
        for (Entry *entry = first; entry != last; ++entry) {
            positions->emplace(entry->handler, entry);
        }
    }
    // The handler was subscribed again: it is called after all if its turn is still to come.
    void restore(const CbHandler<T> *handler) noexcept {
        if (!positions) {
            return;
        }
        auto found = positions->find(handler);
        if (found != positions->end()) {
            found->second->live = true;
        }
    }

    // The dispatcher is being destroyed: end the call and never touch the dispatcher again.
    void orphan() noexcept {
        dispatcher = nullptr;
        forgetAll();
    }

private:
    struct Entry {
        CbHandler<T> *handler;
        bool live;
    };
    using Positions = std::unordered_map<const CbHandler<T> *, Entry *>;

    Entry *storageFor(std::size_t count) {
        if (count <= shortSnapshot.size()) {
            return shortSnapshot.data();
        }
        longSnapshot.reset(new Entry[count]); // left uninitialised: the copy writes every entry
        return longSnapshot.get();
    }
    void skip(Entry &entry) noexcept {
        entry.live = false;
        anySkipped = true;
    }

    CbDispatcher *dispatcher;
    CallFrame *outer;
    // Short lists fit in the frame itself, so that a call on them allocates nothing.
    std::array<Entry, 4> shortSnapshot{};
    std::unique_ptr<Entry[]> longSnapshot;
    Entry *first;
    Entry *last;
    bool anySkipped = false;
    std::unique_ptr<Positions> positions; // made only when needed: most calls never need it
};

template <class T> CbDispatcher<T>::~CbDispatcher() {
    forEachCall([](CallFrame &frame) { frame.orphan(); });
    for (CbHandler<T> *handler : handlers) {
        handler->removeDispatcher(this);
    }
}

template <class T> void CbDispatcher<T>::subscribe(CbHandler<T> *handler, std::size_t position) {
    // The pairing invariant makes the handler's short list as good a witness as this one.
    if (handler == nullptr || handler->hasDispatcher(this)) {
        return;
    }
    forEachCall([](CallFrame &frame) { frame.prepareRestore(); });
    auto at = handlers.insert(handlers.begin() + static_cast<std::ptrdiff_t>(position), handler);
    try {
        handler->addDispatcher(this);
    } catch (...) {
        handlers.erase(at); // keep the lists paired when the handler's list cannot grow
        throw;
    }
    forEachCall([&](CallFrame &frame) { frame.restore(handler); });
}

template <class T> void CbDispatcher<T>::removeHandler(CbHandler<T> *handler) noexcept {
    auto found = find(handler);
    if (found == handlers.end()) {
        return;
    }
    forEachCall([&](CallFrame &frame) { frame.forget(handler); });
    handler->removeDispatcher(this);
    handlers.erase(found);
}

template <class T> void CbDispatcher<T>::removeAllHandlers() noexcept {
    forEachCall([](CallFrame &frame) { frame.forgetAll(); });
    for (CbHandler<T> *handler : handlers) {
        handler->removeDispatcher(this);
    }
    handlers.clear();
}

template <class T> template <class Invoke> void CbDispatcher<T>::walk(Invoke invoke) {
    if (handlers.empty()) {
        return; // nothing to snapshot, nothing allocated
    }
    CallFrame frame(*this);
    frame.run(invoke); // touches only the frame: a handler may destroy this dispatcher
}

} // namespace Vo
