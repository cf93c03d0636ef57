#include <benchmark/benchmark.h>
#include <boost/signals2/signal.hpp>
#include <boost/smart_ptr/intrusive_ptr.hpp>
#include <boost/smart_ptr/intrusive_ref_counter.hpp>
#include <sigc++/sigc++.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// Third-party anchors and hardware floors beside the library's own figures: an intrusive pointer
// from another library, two signal libraries, and the cost of the atomic instructions and memory
// traffic that no implementation can go below.
namespace {

// The pointee of the intrusive anchor: counts atomically inside the object, as ours does.
class IntrusivePayload
    : public boost::intrusive_ref_counter<IntrusivePayload, boost::thread_safe_counter> {};

// One object shared by all threads of a benchmark so that they contend on its count.
const boost::intrusive_ptr<IntrusivePayload> &intrusiveShared() {
    static const boost::intrusive_ptr<IntrusivePayload> shared(new IntrusivePayload);
    return shared;
}

void BM_PtrCopyRelease_BoostIntrusivePtr(benchmark::State &state) {
    const boost::intrusive_ptr<IntrusivePayload> &source = intrusiveShared();
    for (auto _ : state) {
        boost::intrusive_ptr<IntrusivePayload> copy(source);
        benchmark::DoNotOptimize(copy.get());
    }
}
BENCHMARK(BM_PtrCopyRelease_BoostIntrusivePtr)->Threads(1)->Threads(2);

using Signals2 = boost::signals2::signal<void(int)>;
using Sigc = sigc::signal<void(int)>;

std::size_t sizeOf(const benchmark::State &state) {
    return static_cast<std::size_t>(state.range(0));
}

void finish(benchmark::State &state, std::size_t handlersPerIteration) {
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(handlersPerIteration));
    state.SetComplexityN(state.range(0));
}

// The signal's call over N handlers that each count their calls, the work of the dispatcher
// benchmark's handlers; items are handlers called.
template <class Signal> void dispatchCounting(benchmark::State &state) {
    std::vector<std::int64_t> counts(sizeOf(state));
    Signal signal;
    for (std::int64_t &count : counts) {
        signal.connect([&count](int) { ++count; });
    }
    for (auto _ : state) {
        signal(1);
        benchmark::ClobberMemory();
    }
    finish(state, counts.size());
}

// A call in which the first handler disconnects the second, which is connected again at the end
// afterwards, as in the dispatcher's unsubscribing benchmark.
template <class Signal> void dispatchUnsubscribing(benchmark::State &state) {
    std::vector<std::int64_t> counts(sizeOf(state));
    Signal signal;
    const auto victimSlot = [&counts](int) { ++counts.front(); };
    decltype(signal.connect(victimSlot)) victim;
    signal.connect([&victim](int) { victim.disconnect(); });
    victim = signal.connect(victimSlot);
    for (std::size_t i = 1; i < counts.size(); ++i) {
        std::int64_t &count = counts[i];
        signal.connect([&count](int) { ++count; });
    }
    for (auto _ : state) {
        signal(1);
        victim = signal.connect(victimSlot);
        benchmark::ClobberMemory();
    }
    finish(state, counts.size());
}

void BM_CbAnchorSignals2(benchmark::State &state) { dispatchCounting<Signals2>(state); }
void BM_CbAnchorSigc(benchmark::State &state) { dispatchCounting<Sigc>(state); }
void BM_CbAnchorSignals2Unsubscribing(benchmark::State &state) {
    dispatchUnsubscribing<Signals2>(state);
}
void BM_CbAnchorSigcUnsubscribing(benchmark::State &state) { dispatchUnsubscribing<Sigc>(state); }
BENCHMARK(BM_CbAnchorSignals2)->Arg(1)->Arg(10)->Arg(1000)->Arg(100000)->Complexity();
BENCHMARK(BM_CbAnchorSigc)->Arg(1)->Arg(10)->Arg(1000)->Arg(100000)->Complexity();
BENCHMARK(BM_CbAnchorSignals2Unsubscribing)->Arg(1)->Arg(10)->Arg(1000)->Arg(100000)->Complexity();
BENCHMARK(BM_CbAnchorSigcUnsubscribing)->Arg(1)->Arg(10)->Arg(1000)->Arg(100000)->Complexity();

// One counter shared by all threads of a floor benchmark so that they contend on its cache line.
std::atomic<int> &sharedCounter() {
    static std::atomic<int> counter{0};
    return counter;
}

// One `lock xadd` per operation: the least an atomic count increment or decrement costs.
void BM_FloorLockXadd(benchmark::State &state) {
    std::atomic<int> &counter = sharedCounter();
    for (auto _ : state) {
        benchmark::DoNotOptimize(counter.fetch_add(1));
    }
}
BENCHMARK(BM_FloorLockXadd)->Threads(1)->Threads(2);

// One `lock cmpxchg` per operation: the least a conditional increment (a weak lock) costs.
void BM_FloorLockCmpxchg(benchmark::State &state) {
    std::atomic<int> &counter = sharedCounter();
    int expected = counter.load(std::memory_order_relaxed);
    for (auto _ : state) {
        benchmark::DoNotOptimize(counter.compare_exchange_strong(expected, expected + 1));
    }
}
BENCHMARK(BM_FloorLockCmpxchg)->Threads(1)->Threads(2);

// N machine words, the unit in which bulk copies and comparisons of index sets move.
using Words = std::vector<std::uintptr_t>;

void finishWords(benchmark::State &state, const Words &words) {
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(words.size()));
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(words.size() * sizeof(std::uintptr_t)));
    state.SetComplexityN(state.range(0));
}

void BM_FloorMemcpyWords(benchmark::State &state) {
    const Words source(sizeOf(state), 7);
    Words target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size() * sizeof(std::uintptr_t));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    finishWords(state, source);
}
BENCHMARK(BM_FloorMemcpyWords)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

// Equal buffers, so the comparison reads both to the end.
void BM_FloorMemcmpWords(benchmark::State &state) {
    const Words left(sizeOf(state), 7);
    const Words right(left);
    for (auto _ : state) {
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
        benchmark::DoNotOptimize(
            std::memcmp(left.data(), right.data(), left.size() * sizeof(std::uintptr_t)));
    }
    finishWords(state, left);
}
BENCHMARK(BM_FloorMemcmpWords)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

} // namespace
