// The program's own main window, made by the same start-up as the shipped program (main.cpp):
// the application object, CreateMainWindow(), show and activate. The window is then driven
// in-process, as a user would: the "T21" entry of "Profils", and the AFP slider moved by line
// steps (the arrow keys' step). Two kinds of steps, each changing the value every time:
//   threshold  back and forth across the low AFP threshold: every step changes the panel's
//              caption colour, its lamps and three of the four result panels (the default)
//   sweep      end to end and back, as a drag across the whole slider: most steps change only
//              the slider and the edit, a few cross a threshold
#include "BenchSubject.h"

#include "SerolisApplication.h"
#include "Unit1.h"

#include <QAction>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace {

// T21 leaves AFP at 0.5 MoM (slider at 5: low, its lamp blinking, the T21 profile shown); one
// line step up gives 0.6 (normal range, other findings) and the next one back gives 0.5 again.
constexpr int kStepStartPosition = 5;

class TProgramWindow final : public TBenchSubject
{
public:
    std::unique_ptr<QApplication> CreateApplication(int& argc, char** argv) override
    {
        return std::make_unique<TSerolisApplication>(argc, argv);
    }

    QWidget* Create() override
    {
        FForm = CreateMainWindow();
        return FForm.get();
    }

    void Show(QWidget* window) override
    {
        window->show();
        window->activateWindow();
    }

    void PrepareIdle() override { ChooseT21(); }

    bool PrepareSteps(const QString& kind) override
    {
        if (kind.isEmpty() || kind == QLatin1String("threshold"))
            FSweep = false;
        else if (kind == QLatin1String("sweep"))
            FSweep = true;
        else
            return false;
        ChooseT21();
        if (FForm->Track_afp->Position() != kStepStartPosition) {
            std::fprintf(stderr, "the T21 profile left the AFP slider at %d, not %d\n", FForm->Track_afp->Position(),
                         kStepStartPosition);
            std::exit(2);
        }
        FUp = true;
        return true;
    }

    void Step(int index) override
    {
        TTrackBar& slider = *FForm->Track_afp;
        const int before = slider.Position();
        bool up = index % 2 == 0;
        if (FSweep) {
            if ((FUp && before >= slider.Max()) || (!FUp && before <= slider.Min()))
                FUp = !FUp;
            up = FUp;
        }
        slider.triggerAction(up ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub);
        if (slider.Position() == before) {
            std::fprintf(stderr, "step %d left the AFP slider at %d\n", index, before);
            std::exit(2);
        }
    }

private:
    void ChooseT21()
    {
        QAction* entry = FForm->MenuEntries.value(QStringLiteral("T21"));
        if (!entry) {
            std::fputs("no menu entry \"T21\"\n", stderr);
            std::exit(2);
        }
        entry->trigger();
    }

    std::unique_ptr<TForm1> FForm;
    bool FSweep = false;
    bool FUp = true;
};

} // namespace

std::unique_ptr<TBenchSubject> MakeBenchSubject()
{
    return std::make_unique<TProgramWindow>();
}
