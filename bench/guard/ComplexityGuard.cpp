// The complexity guard: runs each editor-scale path at a size and at ten times that size and fails
// when the larger run takes more than 30 times as long (linear reads about 10, quadratic about 100,
// so the verdict holds on a busy machine). With --session PATH it also times the session driver on
// generated scenes and scripts. Not a timed test: no absolute limit anywhere. Times are processor
// time (of this process, or of the driver's processes), the best of a few runs, so that waiting for
// a core on a shared machine does not count; the sizes are small enough that both runs of a path
// work mostly in cache, which keeps memory effects out of the ratio.

#include "../ScaleWorkloads.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <sys/time.h>

namespace {

constexpr double kMaxRatio = 30.0;
constexpr int kRepetitions = 5;

// Processor seconds used so far by this process and by the children it has waited for.
double processorSeconds() {
    const auto seconds = [](const timeval &time) { return time.tv_sec + time.tv_usec * 1e-6; };
    rusage self{};
    rusage children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    return seconds(self.ru_utime) + seconds(self.ru_stime) + seconds(children.ru_utime) +
           seconds(children.ru_stime);
}

// The shortest of a few runs, in seconds: the least disturbed by other work on the machine.
double bestTime(const std::function<void()> &run) {
    double best = 0.0;
    for (int repetition = 0; repetition < kRepetitions; ++repetition) {
        const double start = processorSeconds();
        run();
        const double seconds = processorSeconds() - start;
        best = repetition == 0 ? seconds : std::min(best, seconds);
        if (seconds > 2.0) {
            break; // already far too slow to need a better figure
        }
    }
    return best;
}

// Prints the verdict for one path; false when it grew too fast.
bool judge(const std::string &name, int size, const std::function<void(int)> &run) {
    const double small = bestTime([&] { run(size); });
    const double large = bestTime([&] { run(10 * size); });
    const double ratio = large / std::max(small, 1e-9);
    const bool linear = ratio <= kMaxRatio;
    std::printf("%-42s %7d -> %8d  %9.3f ms -> %9.3f ms  ratio %6.1f  %s\n", name.c_str(), size,
                10 * size, small * 1e3, large * 1e3, ratio, linear ? "ok" : "TOO STEEP");
    return linear;
}

void writeFile(const std::string &path, const std::string &text) {
    std::ofstream out(path);
    out << text;
}

// The driver on a scene and a script, with the text and with the JSON transcript.
void runSession(const std::string &driver, const std::string &dir, const std::string &scene,
                const std::string &script) {
    writeFile(dir + "/scene.txt", scene);
    writeFile(dir + "/script.txt", script);
    for (const char *format : {"", " --json"}) {
        const std::string command = "\"" + driver + "\"" + format + " --scene \"" + dir +
                                    "/scene.txt\" --script \"" + dir + "/script.txt\" >/dev/null";
        VoScale::check(std::system(command.c_str()) == 0, "the session driver failed");
    }
}

// A shape of n points: select them all, then count three times.
void sessionSelectAllPoints(const std::string &driver, const std::string &dir, int n) {
    runSession(driver, dir, "shape Big " + std::to_string(n) + "\n",
               "primary Big\nselect-all-points\ncount\ncount\ncount\n");
}

// A selected point pushed back by n insertions in front of it: each transcript names its input at
// a later place under "Points".
void sessionInsertPoints(const std::string &driver, const std::string &dir, int n) {
    std::string script = "primary Big 2\n";
    for (int line = 0; line < n; ++line) {
        script += "insert-point Big 0\n";
    }
    runSession(driver, dir, "shape Big 5\n", script);
}

} // namespace

int main(int argc, char **argv) {
    std::string driver;
    std::string dir = ".";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--session") {
            driver = argv[i + 1];
        } else if (option == "--dir") {
            dir = argv[i + 1];
        } else {
            std::fprintf(stderr, "usage: %s [--session DRIVER] [--dir SCRATCH_DIR]\n", argv[0]);
            return 2;
        }
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each verdict as it comes, also into a pipe
    bool allLinear = true;
    try {
        for (const VoScale::Workload &workload : VoScale::workloads()) {
            allLinear = judge(workload.name, workload.guardSize, workload.run) && allLinear;
        }
        if (!driver.empty()) {
            allLinear = judge("SessionSelectAllPointsThenCount", 1000,
                              [&](int n) { sessionSelectAllPoints(driver, dir, n); }) &&
                        allLinear;
            allLinear = judge("SessionInsertPointsBeforeSelected", 1000,
                              [&](int n) { sessionInsertPoints(driver, dir, n); }) &&
                        allLinear;
        }
    } catch (const std::exception &error) {
        std::fprintf(stderr, "complexity guard: %s\n", error.what());
        return 1;
    }
    std::printf(allLinear ? "every path grows linearly\n" : "a path grows too steeply\n");
    return allLinear ? 0 : 1;
}
