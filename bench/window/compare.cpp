// Measures the program's window against the bare Qt window in the same run, with medians over
// repeated runs, and prints each figure beside its goal.
//
//   bench_window_compare [--runs N] [--idle-seconds S] [--steps N] [--no-callgrind]
//
// Both subjects run offscreen (QT_QPA_PLATFORM=offscreen unless already set).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct TRun {
    std::string out;
    std::string err;
    double wallToFirstLine = 0; // seconds, spawn to the first line on stdout
    long maxRssKiB = 0;
    int status = 0;
};

TRun Spawn(const std::vector<std::string>& argv)
{
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    TRun run;
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", args[0]);
        std::exit(2);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);

    // Read stdout first (the first line times the start-up), then stderr.
    char buffer[4096];
    bool firstLine = false;
    for (;;) {
        const ssize_t n = read(outPipe[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        run.out.append(buffer, std::size_t(n));
        if (!firstLine && run.out.find('\n') != std::string::npos) {
            firstLine = true;
            run.wallToFirstLine = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        }
    }
    for (;;) {
        const ssize_t n = read(errPipe[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        run.err.append(buffer, std::size_t(n));
    }
    close(outPipe[0]);
    close(errPipe[0]);
    rusage usage{};
    wait4(pid, &run.status, 0, &usage);
    run.maxRssKiB = usage.ru_maxrss;
    if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0) {
        std::fprintf(stderr, "%s failed:\n%s\n", args[0], run.err.c_str());
        std::exit(2);
    }
    return run;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::optional<double> Field(const std::string& text, const std::string& key)
{
    const auto at = text.find(key);
    if (at == std::string::npos)
        return std::nullopt;
    return std::strtod(text.c_str() + at + key.size(), nullptr);
}

struct TFigures {
    double firstPaintMs = 0;
    double instructions = 0;
    double peakRssMiB = 0;
    double idleCpuPercent = 0;
    double stepMeanUs = 0;
    double stepP99Us = 0;
};

TFigures Measure(const std::string& subject, int runs, int idleSeconds, int steps, bool callgrind)
{
    TFigures f;
    std::vector<double> walls, rss, ir, idle, mean, p99;
    for (int i = 0; i < runs; ++i) {
        const TRun run = Spawn({subject, "first-paint"});
        walls.push_back(run.wallToFirstLine * 1000);
        rss.push_back(double(run.maxRssKiB) / 1024);
    }
    if (callgrind) {
        for (int i = 0; i < 3; ++i) {
            const TRun run = Spawn({"valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null", subject, "first-paint"});
            const auto collected = Field(run.err, "Collected : ");
            if (collected)
                ir.push_back(*collected);
        }
    }
    for (int i = 0; i < 3; ++i) {
        const TRun run = Spawn({subject, "idle", std::to_string(idleSeconds)});
        idle.push_back(Field(run.out, "idle-cpu-percent ").value_or(-1));
        const TRun stepped = Spawn({subject, "steps", std::to_string(steps)});
        mean.push_back(Field(stepped.out, "steps-mean-us ").value_or(-1));
        p99.push_back(Field(stepped.out, "steps-p99-us ").value_or(-1));
    }
    f.firstPaintMs = Median(walls);
    f.peakRssMiB = Median(rss);
    f.instructions = ir.empty() ? 0 : Median(ir);
    f.idleCpuPercent = Median(idle);
    f.stepMeanUs = Median(mean);
    f.stepP99Us = Median(p99);
    return f;
}

void Row(const char* name, double bare, double program, const char* unit, double goal, bool ratioGoal)
{
    if (ratioGoal) {
        const double ratio = bare > 0 ? program / bare : 0;
        std::printf("%-34s %12.2f %12.2f %-5s %7.2fx  goal <= %.2fx  %s\n", name, bare, program, unit, ratio, goal,
                    ratio <= goal ? "met" : "MISSED");
    } else {
        std::printf("%-34s %12.3f %12.3f %-5s %8s  goal <= %.2f %s  %s\n", name, bare, program, unit, "", goal, unit,
                    program <= goal ? "met" : "MISSED");
    }
}

} // namespace

int main(int argc, char* argv[])
{
    int runs = 15, idleSeconds = 20, steps = 2000;
    bool callgrind = true;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--idle-seconds" && i + 1 < argc)
            idleSeconds = std::max(1, std::atoi(argv[++i]));
        else if (a == "--steps" && i + 1 < argc)
            steps = std::max(1, std::atoi(argv[++i]));
        else if (a == "--no-callgrind")
            callgrind = false;
        else {
            std::fprintf(stderr, "usage: %s [--runs N] [--idle-seconds S] [--steps N] [--no-callgrind]\n", argv[0]);
            return 2;
        }
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    const std::string bare = BENCH_BARE_WINDOW;
    const std::string program = BENCH_PROGRAM_WINDOW;
    std::printf("runs %d, idle %d s, %d steps; medians\n", runs, idleSeconds, steps);
    const TFigures b = Measure(bare, runs, idleSeconds, steps, callgrind);
    const TFigures p = Measure(program, runs, idleSeconds, steps, callgrind);

    std::printf("%-34s %12s %12s\n", "figure", "bare window", "program");
    Row("start to first painted frame", b.firstPaintMs, p.firstPaintMs, "ms", 1.35, true);
    if (callgrind)
        Row("start-up instructions (callgrind)", b.instructions / 1e6, p.instructions / 1e6, "M Ir", 1.5, true);
    Row("peak resident memory", b.peakRssMiB, p.peakRssMiB, "MiB", 1.2, true);
    Row("idle CPU, one core", b.idleCpuPercent, p.idleCpuPercent, "%", 0.3, false);
    Row("marker change vs full repaint, mean", b.stepMeanUs, p.stepMeanUs, "us", 4.0, true);
    Row("marker change vs full repaint, p99", b.stepP99Us, p.stepP99Us, "us", 5.0, true);
    return 0;
}
