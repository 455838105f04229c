// The floor: one empty, fixed 627 × 486 window with an empty menu bar.
#include "BenchSubject.h"

#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>

namespace {

class TBareWindow final : public TBenchSubject
{
public:
    QWidget* Create() override
    {
        window = std::make_unique<QMainWindow>();
        window->setMenuBar(new QMenuBar(window.get()));
        auto* client = new QWidget(window.get());
        client->setFixedSize(627, 486);
        window->setCentralWidget(client);
        window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                               | Qt::WindowCloseButtonHint);
        window->layout()->setSizeConstraint(QLayout::SetFixedSize);
        return window.get();
    }

    void Step(int) override { window->repaint(); }

private:
    std::unique_ptr<QMainWindow> window;
};

} // namespace

std::unique_ptr<TBenchSubject> MakeBenchSubject()
{
    return std::make_unique<TBareWindow>();
}
