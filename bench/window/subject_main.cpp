// One benchmark subject process. Modes (the first argument):
//   first-paint     print "painted" once the first frame has been drawn, then quit
//   idle <seconds>  after the first frame and PrepareIdle, report the CPU time used while idle
//   steps <count> [kind]
//                   after the first frame and PrepareSteps, time <count> steps of the given kind;
//                   print mean and 99th percentile of wall and thread CPU time (µs), and the
//                   paint events counted inside and between the steps
//   frames <dir> <count> [kind]
//                   the screen's picture of the window, as the partial repaints left it, saved
//                   after the first frame, after PrepareSteps, after each of <count> steps and
//                   after one tick of each running timer: two builds whose pictures are the same
//                   byte for byte paint the same
//
// Both subjects are measured by the same code: whatever a step or the first frame leaves posted
// (repaints scheduled with update(), relayouts that ask for another paint) is run to the end
// inside the measured span; timers (the lamps' blinking) run only between steps.
#include "BenchSubject.h"

#include <QDir>
#include <QEvent>
#include <QImage>
#include <QScreen>
#include <QTimer>
#include <QTimerEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace {

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double ThreadCpuMicroseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

// Counts every event delivered in the process, and the paint events among them.
class TEventCounter : public QObject
{
public:
    long long Events = 0;
    long long Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        ++Events;
        if (event->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
};

TEventCounter* Counter = nullptr;
long long DrainOverflows = 0;

// Delivers posted events until a pass delivers none. One pass of sendPostedEvents leaves the
// events posted during it (a label that resizes itself while painting asks for another paint)
// for the next pass.
void Drain()
{
    constexpr int kMaxPasses = 1000;
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        const long long before = Counter->Events;
        QCoreApplication::sendPostedEvents();
        if (Counter->Events == before)
            return;
    }
    ++DrainOverflows;
}

// The measured span of one step; a function of its own so that callgrind can collect just it
// (--collect-atstart=no --toggle-collect=BenchTimedStep).
extern "C" __attribute__((noinline)) void BenchTimedStep(TBenchSubject* subject, int index)
{
    subject->Step(index);
    Drain();
}

class TFirstPaint : public QObject
{
public:
    explicit TFirstPaint(std::function<void()> then) : FThen(std::move(then)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !FSeen) {
            FSeen = true;
            // The frame is complete once the paint events of this update have all run, and every
            // repaint they asked for.
            QTimer::singleShot(0, watched, [this] {
                Drain();
                FThen();
            });
        }
        return false;
    }

private:
    std::function<void()> FThen;
    bool FSeen = false;
};

double Percentile99(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(double(values.size()) * 0.99))];
}

double Mean(const std::vector<double>& values)
{
    double sum = 0;
    for (double v : values)
        sum += v;
    return sum / double(values.size());
}

} // namespace

int main(int argc, char* argv[])
{
    auto subject = MakeBenchSubject();
    const std::unique_ptr<QApplication> application = subject->CreateApplication(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("first-paint");
    const bool framesMode = mode == QLatin1String("frames");
    const QString framesDir = framesMode && argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const int amountArg = framesMode ? 3 : 2;
    const int amount = argc > amountArg ? std::max(1, atoi(argv[amountArg])) : 1;
    const int kindArg = amountArg + 1;
    const QString kind = argc > kindArg ? QString::fromLocal8Bit(argv[kindArg]) : QString();

    TEventCounter counter;
    Counter = &counter;
    application->installEventFilter(&counter);

    QWidget* window = subject->Create();

    TFirstPaint firstPaint([&] {
        if (mode == QLatin1String("first-paint")) {
            std::puts("painted");
            std::fflush(stdout);
            QCoreApplication::quit();
        } else if (mode == QLatin1String("idle")) {
            subject->PrepareIdle();
            Drain();
            QCoreApplication::processEvents();
            Drain();
            const double start = CpuSeconds();
            QTimer::singleShot(amount * 1000, [&, start] {
                const double used = CpuSeconds() - start;
                std::printf("idle-cpu-percent %.4f\n", 100.0 * used / amount);
                QCoreApplication::quit();
            });
        } else if (mode == QLatin1String("steps")) {
            if (!subject->PrepareSteps(kind)) {
                std::fprintf(stderr, "no steps of the kind \"%s\"\n", qPrintable(kind));
                std::exit(2);
            }
            Drain();
            std::vector<double> wall, cpu;
            wall.reserve(std::size_t(amount));
            cpu.reserve(std::size_t(amount));
            long long paintsInside = 0, paintsBetween = 0;
            for (int i = 0; i < amount; ++i) {
                // Untimed: the lamps' timers and whatever they post.
                const long long beforeGap = counter.Paints;
                QCoreApplication::processEvents();
                Drain();
                paintsBetween += counter.Paints - beforeGap;

                const long long beforeStep = counter.Paints;
                const double c0 = ThreadCpuMicroseconds();
                const auto t0 = std::chrono::steady_clock::now();
                BenchTimedStep(subject.get(), i);
                const auto t1 = std::chrono::steady_clock::now();
                const double c1 = ThreadCpuMicroseconds();
                paintsInside += counter.Paints - beforeStep;
                wall.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
                cpu.push_back(c1 - c0);
            }
            std::printf("steps-mean-us %.2f\nsteps-p99-us %.2f\n", Mean(wall), Percentile99(wall));
            std::printf("steps-cpu-mean-us %.2f\nsteps-cpu-p99-us %.2f\n", Mean(cpu), Percentile99(cpu));
            std::printf("steps-paints-per-step %.2f\nsteps-paints-between %lld\n",
                        double(paintsInside) / double(amount), paintsBetween);
            QCoreApplication::quit();
        } else if (framesMode) {
            QDir().mkpath(framesDir);
            int frame = 0;
            auto save = [&](const QString& what) {
                Drain();
                const QImage shown = window->screen()->grabWindow(window->winId()).toImage();
                const QString file =
                    QStringLiteral("%1/%2-%3.png").arg(framesDir).arg(frame++, 3, 10, QChar(u'0')).arg(what);
                if (!shown.save(file)) {
                    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
                    std::exit(2);
                }
            };
            save(QStringLiteral("first"));
            if (!subject->PrepareSteps(kind)) {
                std::fprintf(stderr, "no steps of the kind \"%s\"\n", qPrintable(kind));
                std::exit(2);
            }
            save(QStringLiteral("prepared"));
            for (int i = 0; i < amount; ++i) {
                subject->Step(i);
                save(QStringLiteral("step"));
                // One tick of every running timer, in the order the children were made.
                const auto timers = window->findChildren<QTimer*>();
                for (QTimer* timer : timers) {
                    if (!timer->isActive())
                        continue;
                    QTimerEvent tick(timer->timerId());
                    QCoreApplication::sendEvent(timer, &tick);
                    save(QStringLiteral("tick"));
                }
            }
            QCoreApplication::quit();
        }
    });
    window->installEventFilter(&firstPaint);
    subject->Show(window);
    const int result = QApplication::exec();
    if (DrainOverflows > 0)
        std::fprintf(stderr, "warning: posted events kept coming back %lld times\n", DrainOverflows);
    // The window goes before the application object.
    window->removeEventFilter(&firstPaint);
    subject.reset();
    return result;
}
