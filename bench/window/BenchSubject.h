#pragma once
// A window the start-up benchmark can drive in-process: the bare Qt window (the floor) or the
// program's main window. The shipped program takes no arguments; only these benchmark
// executables do.

#include <QApplication>
#include <QWidget>
#include <memory>

class TBenchSubject
{
public:
    virtual ~TBenchSubject() = default;
    // The application object, as the subject's start-up makes it.
    virtual std::unique_ptr<QApplication> CreateApplication(int& argc, char** argv)
    {
        return std::make_unique<QApplication>(argc, argv);
    }
    // Creates the top-level window as the program's start-up does (not yet shown).
    virtual QWidget* Create() = 0;
    // Shows the window as the start-up does.
    virtual void Show(QWidget* window) { window->show(); }
    // Puts the window into the state measured for idle CPU (the program: the "T21" profile,
    // eleven lamps, some of them blinking). The bare window has nothing to do.
    virtual void PrepareIdle() {}
    // Puts the window into the state the steps start from (untimed). `kind` names the kind of
    // step (empty: the subject's first kind); false when the subject has no such kind.
    virtual bool PrepareSteps(const QString& kind) { return kind.isEmpty(); }
    // One marker change with everything it causes, or for the bare window one full repaint.
    // Work the step only posts (repaints scheduled with update()) is run by the caller, inside
    // the timed span, until nothing is left.
    virtual void Step(int index) = 0;
};

std::unique_ptr<TBenchSubject> MakeBenchSubject();
