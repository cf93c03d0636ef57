#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakAccessor.h"
#include "foundation/RCWeakPtr.h"
#include "base/LkCounter.h"
#include "base/RCBase.h"
#include "host/RCOwner.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace Vo {
namespace {

// The pointee of the shared-pointer benchmarks: ours counts inside the object, the standard
// pointer in its control block.
class CountedPayload : public RCBase<LkCounter<int>> {};
// The pointee of the weak-pointer benchmarks, owned by the application in both cases.
class OwnedPayload {
public:
    virtual ~OwnedPayload() = default;
};

// One object per pointer family, shared by all threads of a benchmark so that they contend on it.
const RCShdPtr<CountedPayload> &ourShared() {
    static const RCShdPtr<CountedPayload> shared(new CountedPayload);
    return shared;
}
const std::shared_ptr<CountedPayload> &stdShared() {
    static const std::shared_ptr<CountedPayload> shared = std::make_shared<CountedPayload>();
    return shared;
}
const RCWeakPtr<OwnedPayload> &ourWeak() {
    static const RCOwner<OwnedPayload> owner(new OwnedPayload);
    static const RCWeakPtr<OwnedPayload> weak = owner.getWeak();
    return weak;
}
const std::weak_ptr<OwnedPayload> &stdWeak() {
    static const std::shared_ptr<OwnedPayload> owner = std::make_shared<OwnedPayload>();
    static const std::weak_ptr<OwnedPayload> weak = owner;
    return weak;
}

void BM_PtrCopyRelease_RCShdPtr(benchmark::State &state) {
    const RCShdPtr<CountedPayload> &source = ourShared();
    for (auto _ : state) {
        RCShdPtr<CountedPayload> copy(source);
        benchmark::DoNotOptimize(copy.get());
    }
}
BENCHMARK(BM_PtrCopyRelease_RCShdPtr)->Threads(1)->Threads(2);

void BM_PtrCopyRelease_StdSharedPtr(benchmark::State &state) {
    const std::shared_ptr<CountedPayload> &source = stdShared();
    for (auto _ : state) {
        std::shared_ptr<CountedPayload> copy(source);
        benchmark::DoNotOptimize(copy.get());
    }
}
BENCHMARK(BM_PtrCopyRelease_StdSharedPtr)->Threads(1)->Threads(2);

void BM_PtrLockRelease_RCWeakAccessor(benchmark::State &state) {
    const RCWeakPtr<OwnedPayload> &weak = ourWeak();
    for (auto _ : state) {
        RCWeakAccessor<OwnedPayload> accessor(weak);
        benchmark::DoNotOptimize(accessor.get());
    }
}
BENCHMARK(BM_PtrLockRelease_RCWeakAccessor)->Threads(1)->Threads(2);

void BM_PtrLockRelease_StdWeakPtr(benchmark::State &state) {
    const std::weak_ptr<OwnedPayload> &weak = stdWeak();
    for (auto _ : state) {
        std::shared_ptr<OwnedPayload> locked = weak.lock();
        benchmark::DoNotOptimize(locked.get());
    }
}
BENCHMARK(BM_PtrLockRelease_StdWeakPtr)->Threads(1)->Threads(2);

} // namespace
} // namespace Vo
