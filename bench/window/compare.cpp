// Measures the program's window against the bare Qt window in the same run, with medians over
// repeated runs, and prints each figure beside its goal.
//
//   bench_window_compare [--runs N] [--idle-seconds S] [--steps N] [--callgrind-steps N] [--no-callgrind]
//
// Both subjects run offscreen (QT_QPA_PLATFORM=offscreen unless already set), one after the other
// in each run, so that the machine's load falls on both alike. The marker change is measured in
// two kinds (see ProgramWindow.cpp), each against the same full repaint of the bare window.
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

struct TStepFigures {
    double meanUs = 0;
    double p99Us = 0;
    double cpuMeanUs = 0;
    double cpuP99Us = 0;
    double paintsPerStep = 0;
    double instructions = 0; // per step, under callgrind
};

struct TFigures {
    double firstPaintMs = 0;
    double instructions = 0;
    double peakRssMiB = 0;
    double idleCpuPercent = 0;
};

struct TStepSamples {
    std::vector<double> mean, p99, cpuMean, cpuP99, paints, instructions;
};

struct TSamples {
    std::vector<double> walls, rss, ir, idle;
};

double MedianOrZero(const std::vector<double>& v)
{
    return v.empty() ? 0 : Median(v);
}

double Required(const TRun& run, const std::string& key)
{
    const auto value = Field(run.out, key);
    if (!value) {
        std::fprintf(stderr, "no \"%s\" in the output:\n%s\n%s\n", key.c_str(), run.out.c_str(), run.err.c_str());
        std::exit(2);
    }
    return *value;
}

// One kind of step of one subject.
struct TStepper {
    std::string subject;
    std::string kind; // empty: the subject's own
};

std::vector<std::string> StepsCommand(const TStepper& stepper, int steps)
{
    std::vector<std::string> command{stepper.subject, "steps", std::to_string(steps)};
    if (!stepper.kind.empty())
        command.push_back(stepper.kind);
    return command;
}

// Each measurement runs the subjects one after the other, run by run, so that a change of the
// machine's load falls on all of them alike.
void Measure(const std::string (&subjects)[2], TSamples (&samples)[2], const std::vector<TStepper>& steppers,
             std::vector<TStepSamples>& stepSamples, int runs, int idleSeconds, int steps, int callgrindSteps,
             bool callgrind)
{
    for (int i = 0; i < runs; ++i)
        for (int s = 0; s < 2; ++s) {
            const TRun run = Spawn({subjects[s], "first-paint"});
            samples[s].walls.push_back(run.wallToFirstLine * 1000);
            samples[s].rss.push_back(double(run.maxRssKiB) / 1024);
        }
    if (callgrind) {
        for (int i = 0; i < 3; ++i)
            for (int s = 0; s < 2; ++s) {
                const TRun run = Spawn({"valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null", subjects[s],
                                        "first-paint"});
                if (const auto collected = Field(run.err, "Collected : "))
                    samples[s].ir.push_back(*collected);
            }
        // The steps alone: collection switched on only inside the timed span of each step.
        for (std::size_t k = 0; k < steppers.size(); ++k) {
            std::vector<std::string> command{"valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null",
                                             "--collect-atstart=no", "--toggle-collect=BenchTimedStep"};
            for (const std::string& part : StepsCommand(steppers[k], callgrindSteps))
                command.push_back(part);
            const TRun run = Spawn(command);
            if (const auto collected = Field(run.err, "Collected : "))
                stepSamples[k].instructions.push_back(*collected / callgrindSteps);
        }
    }
    for (int i = 0; i < 3; ++i)
        for (int s = 0; s < 2; ++s) {
            const TRun run = Spawn({subjects[s], "idle", std::to_string(idleSeconds)});
            samples[s].idle.push_back(Required(run, "idle-cpu-percent "));
        }
    for (int i = 0; i < 3; ++i)
        for (std::size_t k = 0; k < steppers.size(); ++k) {
            const TRun run = Spawn(StepsCommand(steppers[k], steps));
            stepSamples[k].mean.push_back(Required(run, "steps-mean-us "));
            stepSamples[k].p99.push_back(Required(run, "steps-p99-us "));
            stepSamples[k].cpuMean.push_back(Required(run, "steps-cpu-mean-us "));
            stepSamples[k].cpuP99.push_back(Required(run, "steps-cpu-p99-us "));
            stepSamples[k].paints.push_back(Required(run, "steps-paints-per-step "));
        }
}

TFigures Figures(const TSamples& s)
{
    TFigures f;
    f.firstPaintMs = MedianOrZero(s.walls);
    f.peakRssMiB = MedianOrZero(s.rss);
    f.instructions = MedianOrZero(s.ir);
    f.idleCpuPercent = MedianOrZero(s.idle);
    return f;
}

TStepFigures StepFigures(const TStepSamples& s)
{
    TStepFigures f;
    f.meanUs = MedianOrZero(s.mean);
    f.p99Us = MedianOrZero(s.p99);
    f.cpuMeanUs = MedianOrZero(s.cpuMean);
    f.cpuP99Us = MedianOrZero(s.cpuP99);
    f.paintsPerStep = MedianOrZero(s.paints);
    f.instructions = MedianOrZero(s.instructions);
    return f;
}

void Row(const char* name, double bare, double program, const char* unit, double goal, bool ratioGoal)
{
    if (ratioGoal) {
        const double ratio = bare > 0 ? program / bare : 0;
        std::printf("%-44s %12.2f %12.2f %-5s %7.2fx  goal <= %.2fx  %s\n", name, bare, program, unit, ratio, goal,
                    ratio <= goal ? "met" : "MISSED");
    } else {
        std::printf("%-44s %12.3f %12.3f %-5s %8s  goal <= %.2f %s  %s\n", name, bare, program, unit, "", goal, unit,
                    program <= goal ? "met" : "MISSED");
    }
}

// A figure shown beside the goals, to explain them; no goal of its own.
void Info(const char* name, double bare, double program, const char* unit)
{
    const double ratio = bare > 0 ? program / bare : 0;
    std::printf("%-44s %12.2f %12.2f %-5s %7.2fx\n", name, bare, program, unit, ratio);
}

// The goals of one kind of marker change, each against one full repaint of the bare window.
void StepRows(const char* title, const TStepFigures& bare, const TStepFigures& program, bool callgrind)
{
    std::printf("%s\n", title);
    Row("  mean (wall)", bare.meanUs, program.meanUs, "us", 4.0, true);
    Row("  99th percentile (wall)", bare.p99Us, program.p99Us, "us", 5.0, true);
    Info("  mean (thread CPU)", bare.cpuMeanUs, program.cpuMeanUs, "us");
    Info("  99th percentile (thread CPU)", bare.cpuP99Us, program.cpuP99Us, "us");
    if (callgrind)
        Info("  instructions per step (callgrind)", bare.instructions / 1e3, program.instructions / 1e3, "k Ir");
    Info("  paint events per step", bare.paintsPerStep, program.paintsPerStep, "");
}

double LoadAverage()
{
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    int runs = 15, idleSeconds = 20, steps = 2000, callgrindSteps = 200;
    bool callgrind = true;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--idle-seconds" && i + 1 < argc)
            idleSeconds = std::max(1, std::atoi(argv[++i]));
        else if (a == "--steps" && i + 1 < argc)
            steps = std::max(1, std::atoi(argv[++i]));
        else if (a == "--callgrind-steps" && i + 1 < argc)
            callgrindSteps = std::max(1, std::atoi(argv[++i]));
        else if (a == "--no-callgrind")
            callgrind = false;
        else {
            std::fprintf(stderr,
                         "usage: %s [--runs N] [--idle-seconds S] [--steps N] [--callgrind-steps N] [--no-callgrind]\n",
                         argv[0]);
            return 2;
        }
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    const std::string subjects[2] = {BENCH_BARE_WINDOW, BENCH_PROGRAM_WINDOW};
    const std::vector<TStepper> steppers{{subjects[0], ""}, {subjects[1], "threshold"}, {subjects[1], "sweep"}};
    std::printf("runs %d, idle %d s, %d steps (%d under callgrind); medians; load average %.2f at start\n", runs,
                idleSeconds, steps, callgrindSteps, LoadAverage());
    std::fflush(stdout);
    TSamples samples[2];
    std::vector<TStepSamples> stepSamples(steppers.size());
    Measure(subjects, samples, steppers, stepSamples, runs, idleSeconds, steps, callgrindSteps, callgrind);
    const TFigures b = Figures(samples[0]);
    const TFigures p = Figures(samples[1]);

    std::printf("%-44s %12s %12s\n", "figure", "bare window", "program");
    Row("start to first painted frame", b.firstPaintMs, p.firstPaintMs, "ms", 1.35, true);
    if (callgrind)
        Row("start-up instructions (callgrind)", b.instructions / 1e6, p.instructions / 1e6, "M Ir", 1.5, true);
    Row("peak resident memory", b.peakRssMiB, p.peakRssMiB, "MiB", 1.2, true);
    Row("idle CPU, one core, lamps blinking", b.idleCpuPercent, p.idleCpuPercent, "%", 0.3, false);
    const TStepFigures bareStep = StepFigures(stepSamples[0]);
    StepRows("marker change across a threshold vs one full repaint", bareStep, StepFigures(stepSamples[1]), callgrind);
    StepRows("marker change, slider swept end to end, vs one full repaint", bareStep, StepFigures(stepSamples[2]),
             callgrind);
    std::printf("load average %.2f at the end\n", LoadAverage());
    return 0;
}
