#include <benchmark/benchmark.h>

#include <thread>

// The standard library counts std::shared_ptr without atomic instructions for as long as the
// process has a single thread. One thread started and joined before anything is measured puts it
// on its multi-threaded path for good, the path that every real use of the library takes.
int main(int argc, char **argv) {
    std::thread([] {}).join();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
