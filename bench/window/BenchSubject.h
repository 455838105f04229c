#pragma once
// A window the start-up benchmark can drive in-process: the bare Qt window (the floor) or the
// program's main window. The shipped program takes no arguments; only these benchmark
// executables do.

#include <QWidget>
#include <memory>

class TBenchSubject
{
public:
    virtual ~TBenchSubject() = default;
    // Creates the top-level window as the program's start-up does (not yet shown).
    virtual QWidget* Create() = 0;
    // Puts the window into the state measured for idle CPU (the program: the "T21" profile,
    // eleven lamps blinking). The bare window has nothing to do.
    virtual void PrepareIdle() {}
    // One marker change with everything it causes, or for the bare window one full repaint.
    virtual void Step(int index) = 0;
};

std::unique_ptr<TBenchSubject> MakeBenchSubject();
