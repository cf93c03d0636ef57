#include "foundation/CbDispatcher.h"
#include "foundation/CbHandler.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace {

// A polymorphic payload, as the shape events are.
class Event {
public:
    virtual ~Event() = default;
};

using Handler = Vo::CbHandler<Event const>;
using Dispatcher = Vo::CbDispatcher<Event const>;

// The cheapest useful handler: counts its calls.
class Counter : public Handler {
public:
    using Handler::call;
    void call(const Event &) override { ++count; }
    std::int64_t count = 0;
};

// Takes another handler off the dispatcher during the call.
class Remover : public Handler {
public:
    Remover(Dispatcher &dispatcher, Handler &victim) : dispatcher(dispatcher), victim(victim) {}
    using Handler::call;
    void call(const Event &) override { dispatcher.removeHandler(&victim); }

private:
    Dispatcher &dispatcher;
    Handler &victim;
};

std::size_t sizeOf(const benchmark::State &state) {
    return static_cast<std::size_t>(state.range(0));
}

void finish(benchmark::State &state, std::size_t handlersPerIteration) {
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(handlersPerIteration));
    state.SetComplexityN(state.range(0));
}

// The dispatcher's call over N counting handlers; items are handlers called.
void BM_CbDispatcherCall(benchmark::State &state) {
    std::vector<Counter> counters(sizeOf(state));
    Dispatcher dispatcher;
    for (Counter &counter : counters) {
        dispatcher.addHandler(&counter);
    }
    const Event event;
    for (auto _ : state) {
        dispatcher.call(event);
        benchmark::ClobberMemory();
    }
    finish(state, counters.size());
}

// The floor: the same virtual calls on the same handlers through a plain vector of pointers.
void BM_CbVirtualLoop(benchmark::State &state) {
    std::vector<Counter> counters(sizeOf(state));
    std::vector<Handler *> handlers;
    for (Counter &counter : counters) {
        handlers.push_back(&counter);
    }
    const Event event;
    for (auto _ : state) {
        benchmark::DoNotOptimize(handlers.data());
        for (Handler *handler : handlers) {
            handler->call(event);
        }
        benchmark::ClobberMemory();
    }
    finish(state, counters.size());
}

// A call in which the first handler unsubscribes the second, which is subscribed again at the
// end afterwards, so every iteration pays for one removal during the call and one subscription.
void BM_CbDispatcherCallUnsubscribing(benchmark::State &state) {
    std::vector<Counter> counters(sizeOf(state));
    Dispatcher dispatcher;
    Remover remover(dispatcher, counters.front());
    dispatcher.addHandler(&remover);
    for (Counter &counter : counters) {
        dispatcher.addHandler(&counter);
    }
    const Event event;
    for (auto _ : state) {
        dispatcher.call(event);
        dispatcher.addHandler(&counters.front());
        benchmark::ClobberMemory();
    }
    finish(state, counters.size());
}

// Subscribes N handlers, then unsubscribes them in a random order; items are handlers.
void BM_CbSubscribeThenRemoveRandomly(benchmark::State &state) {
    std::vector<Counter> counters(sizeOf(state));
    std::vector<Handler *> removalOrder;
    for (Counter &counter : counters) {
        removalOrder.push_back(&counter);
    }
    std::shuffle(removalOrder.begin(), removalOrder.end(), std::mt19937(7));
    Dispatcher dispatcher;
    for (auto _ : state) {
        for (Counter &counter : counters) {
            dispatcher.addHandler(&counter);
        }
        for (Handler *handler : removalOrder) {
            dispatcher.removeHandler(handler);
        }
    }
    finish(state, counters.size());
}

} // namespace

BENCHMARK(BM_CbDispatcherCall)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Complexity();
BENCHMARK(BM_CbVirtualLoop)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Complexity();
BENCHMARK(BM_CbDispatcherCallUnsubscribing)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Complexity();
BENCHMARK(BM_CbSubscribeThenRemoveRandomly)->Arg(100)->Arg(10000)->Arg(100000)->Complexity();
