// One benchmark subject process. Modes (one argument):
//   first-paint     print "painted" once the first frame has been drawn, then quit
//   idle <seconds>  after the first frame and PrepareIdle, report the CPU time used while idle
//   steps <count>   after the first frame, time <count> steps; print mean and 99th percentile (µs)
#include "BenchSubject.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
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

class TFirstPaint : public QObject
{
public:
    explicit TFirstPaint(std::function<void()> then) : FThen(std::move(then)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !FSeen) {
            FSeen = true;
            // The frame is complete once the paint events of this update have all run.
            QTimer::singleShot(0, watched, FThen);
        }
        return false;
    }

private:
    std::function<void()> FThen;
    bool FSeen = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("first-paint");
    const int amount = argc > 2 ? std::max(1, atoi(argv[2])) : 1;

    auto subject = MakeBenchSubject();
    QWidget* window = subject->Create();

    TFirstPaint firstPaint([&] {
        if (mode == QLatin1String("first-paint")) {
            std::puts("painted");
            std::fflush(stdout);
            application.quit();
        } else if (mode == QLatin1String("idle")) {
            subject->PrepareIdle();
            QCoreApplication::processEvents();
            const double start = CpuSeconds();
            QTimer::singleShot(amount * 1000, [&, start] {
                const double used = CpuSeconds() - start;
                std::printf("idle-cpu-percent %.4f\n", 100.0 * used / amount);
                application.quit();
            });
        } else if (mode == QLatin1String("steps")) {
            std::vector<double> times;
            times.reserve(std::size_t(amount));
            for (int i = 0; i < amount; ++i) {
                const auto t0 = std::chrono::steady_clock::now();
                subject->Step(i);
                // Everything the step caused: posted events and the repaints they schedule.
                QCoreApplication::sendPostedEvents();
                QCoreApplication::processEvents();
                const auto t1 = std::chrono::steady_clock::now();
                times.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
            }
            std::sort(times.begin(), times.end());
            double sum = 0;
            for (double t : times)
                sum += t;
            const auto p99 = times[std::min(times.size() - 1, std::size_t(double(times.size()) * 0.99))];
            std::printf("steps-mean-us %.2f\nsteps-p99-us %.2f\n", sum / double(times.size()), p99);
            application.quit();
        }
    });
    window->installEventFilter(&firstPaint);
    window->show();
    return application.exec();
}
