// Speed of the picture commands as the user meets them, as processes: the command-line
// print of one date into a PDF, and the map and print commands of an eclipse date against
// the same command for a date without one. Wall time is the benchmark's time; the
// process's own user and system CPU (cpu_ms, with its children) is a counter, steadier
// than wall time on a busy machine. Run with --benchmark_repetitions=N for medians.

#include <benchmark/benchmark.h>

#include <fcntl.h>
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

// Runs the program with its arguments (its messages on stderr dropped) and waits for it;
// answers whether it exited with 0, with its user+system CPU, and that of the processes
// it waited for, in cpuMs.
bool RunProcess(const std::vector<std::string>& args, double& cpuMs) {
    std::vector<char*> argv;
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
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

// One command for 8 April 2024 (total eclipse: hourly outlines, umbra path, path layer)
// and then for 1 January 2025 (no eclipse), in turns. The time is the eclipse date's;
// the counters give the other date's times and the ratios of the two, wall and CPU.
void BM_EclipseDateAgainstPlainDate(benchmark::State& state, const std::string& command,
                                    const std::string& option, const std::string& file) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const auto args = [&](const char* day, const char* month, const char* year) {
        return std::vector<std::string>{KESTROVA_CLI_PATH, command, day, month, year, option, file};
    };
    const std::vector<std::string> eclipse = args("8", "4", "2024");
    const std::vector<std::string> plain = args("1", "1", "2025");
    double wall[2] = {0.0, 0.0};
    double cpu[2] = {0.0, 0.0};
    for (auto _ : state) {
        double seconds = 0.0;
        for (int i = 0; i < 2; ++i) {
            const auto start = std::chrono::steady_clock::now();
            double cpuMs = 0.0;
            // The date without an eclipse says so in a message box and still succeeds.
            if (!RunProcess(i == 0 ? eclipse : plain, cpuMs)) {
                state.SkipWithError("the command failed");
                return;
            }
            const std::chrono::duration<double> w = std::chrono::steady_clock::now() - start;
            wall[i] += w.count() * 1e3;
            cpu[i] += cpuMs;
            if (i == 0) {
                seconds = w.count();
            }
        }
        state.SetIterationTime(seconds);
    }
    const auto average = benchmark::Counter::kAvgIterations;
    state.counters["cpu_ms"] = benchmark::Counter(cpu[0], average);
    state.counters["plain_ms"] = benchmark::Counter(wall[1], average);
    state.counters["plain_cpu_ms"] = benchmark::Counter(cpu[1], average);
    state.counters["wall_ratio"] = wall[0] / wall[1];
    state.counters["cpu_ratio"] = cpu[0] / cpu[1];
}
BENCHMARK_CAPTURE(BM_EclipseDateAgainstPlainDate, map_png, std::string("map"), std::string("--png"),
                  std::string("/tmp/kestrova_ratio_bench.png"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EclipseDateAgainstPlainDate, print_pdf, std::string("print"),
                  std::string("--pdf"), std::string("/tmp/kestrova_ratio_bench.pdf"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
