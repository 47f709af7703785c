// Speed of printing as the user meets it: the whole command-line print of one date into
// a PDF, as a process. Wall time is the benchmark's time; the process's own user and
// system CPU (cpu_ms) is a counter, steadier than wall time on a busy machine. Run with
// --benchmark_repetitions=N for medians.

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

namespace {

double Milliseconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

// Runs the program with its arguments and waits for it; answers whether it exited with
// 0, with its user+system CPU in cpuMs.
bool RunProcess(const std::vector<std::string>& args, double& cpuMs) {
    std::vector<char*> argv;
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) {
        return false;
    }
    cpuMs = Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_PrintPdfProcess(benchmark::State& state) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::vector<std::string> args = {
        KESTROVA_CLI_PATH, "print", "29", "3", "2006", "--pdf", "/tmp/kestrova_print_bench.pdf"};
    double cpuTotal = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        double cpuMs = 0.0;
        if (!RunProcess(args, cpuMs)) {
            state.SkipWithError("the print command failed");
            return;
        }
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(wall.count());
        cpuTotal += cpuMs;
    }
    state.counters["cpu_ms"] = benchmark::Counter(cpuTotal, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PrintPdfProcess)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
