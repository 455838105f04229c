// Shows the display widgets as the main window arranges them: the gradient behind two columns
// of caption panels, lamps in the input panels' strips and on the result panels' bars.
//   display_demo [window.png [screen.png]]   saves the window (and the screen) after a moment and quits

#include "CaptionPanel.h"
#include "ExPanel.h"
#include "Gradient.h"
#include "LED.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSlider>
#include <QTimer>

namespace {

QIcon PanelIcon(const QString& name)
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QString(":/display/icon-%1-%2.png").arg(name).arg(size));
    return icon;
}

TExPanel* LayoutPanel(QWidget* parent, int border)
{
    auto* panel = new TExPanel(parent);
    panel->SetBevelOuter(bvNone);
    panel->SetBorderWidth(border);
    panel->SetParentBackground(true);
    return panel;
}

TCaptionPanel* CaptionPanel(QWidget* parent, const QString& caption, TColor fontColour, int height, bool input)
{
    auto* panel = new TCaptionPanel(parent);
    panel->SetCaptionPosition(dpTop);
    panel->SetCaptionColor(clBlue);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(13);
    font.setBold(true);
    panel->SetCaptionFont(font, fontColour);
    panel->SetOutlookLook(true);
    panel->SetResizable(false);
    panel->SetFlatButtons(input);
    if (input)
        panel->SetButtons({capClose, capHelp});
    else
        panel->SetColor(clInfoBk);
    panel->SetCaption(caption);
    panel->resize(100, height);
    panel->move(0, parent->height() + 1000);  // below the panels already there: stacks in creation order
    SetAlign(panel, alTop);
    return panel;
}

TLED* Lamp(QWidget* parent, TAlign align)
{
    auto* led = new TLED(parent);
    led->resize(17, 17);
    SetAlignWithMargins(led, true, {2, 2, 2, 2});
    SetAlign(led, align);
    led->SetAutoSize(true);
    led->SetInterval(200);
    return led;
}

void InputPanel(QWidget* column, const QString& caption, TColor fontColour, int height, const QString& icon,
                bool highLamp, bool alert)
{
    TCaptionPanel* panel = CaptionPanel(column, caption, fontColour, height, true);
    panel->SetIcon(PanelIcon(icon));
    auto* slider = new QSlider(Qt::Horizontal, panel);
    slider->resize(100, 28);
    SetAlign(slider, alTop);
    auto* strip = new TExPanel(panel);
    SetAlign(strip, alClient);
    TLED* low = Lamp(strip, alLeft);
    if (highLamp) {
        TLED* high = Lamp(strip, alRight);
        if (alert) {
            high->SetStatus(false);
            high->SetActive(true);
            panel->SetCaptionColor(clRed);
        }
    }
    Q_UNUSED(low);
    auto* edit = new QLineEdit(QStringLiteral("0"), strip);
    edit->setAlignment(Qt::AlignRight);
    SetAlign(edit, alClient);
}

void ResultPanel(QWidget* column, const QString& caption, TColor fontColour, int height, bool lit, TColor off)
{
    TCaptionPanel* panel = CaptionPanel(column, caption, fontColour, height, false);
    panel->SetIcon(PanelIcon(QStringLiteral("book")));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(12);
    auto* finding = new QLabel(QStringLiteral("Dgic"), panel);
    QFont bold = arial;
    bold.setBold(true);
    finding->setFont(bold);
    finding->resize(100, 15);
    SetAlign(finding, alTop);
    auto* action = new QLabel(QStringLiteral("CAT"), panel);
    action->setFont(arial);
    action->setStyleSheet(QStringLiteral("color: blue"));
    action->resize(100, 15);
    SetAlign(action, alBottom);
    // Over the bar's right end, 1 pixel below the client area's top, right edge with the label's.
    auto* led = new TLED(panel);
    led->SetAutoSize(true);
    led->SetColorOff(off);
    led->SetStatus(lit);
    const QPoint origin = panel->ClientOrigin();
    led->SetBounds(origin.x() + 1 + 259 - 17, origin.y() + 1, 17, 17);
}

} // namespace

int main(int argc, char* argv[])
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QApplication app(argc, argv);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    QApplication::setFont(font);

    TExPanel window;
    window.SetBevelOuter(bvNone);
    window.setWindowTitle(QStringLiteral("display_demo"));
    window.setFixedSize(627, 486);
    auto* gradient = new TGradient(&window);
    gradient->SetStyle(grVertical);
    SetAlignWithMargins(gradient, true, {3, 3, 3, 3});

    TExPanel* top = LayoutPanel(&window, 12);
    SetAlign(top, alCustom);
    top->setGeometry(40, 47, 551, 400);
    TExPanel* left = LayoutPanel(top, 6);
    left->resize(248, 10);
    SetAlign(left, alLeft);
    TExPanel* right = LayoutPanel(top, 6);
    SetAlign(right, alClient);

    InputPanel(left, QStringLiteral("TRIPLO-TEST"), 0x80FFFF, 88, QStringLiteral("triplo"), false, false);
    InputPanel(left, QStringLiteral("AFP"), clWhite, 88, QStringLiteral("afp"), true, true);
    InputPanel(left, QStringLiteral("B-HCG"), clWhite, 88, QStringLiteral("hcg"), true, false);
    InputPanel(left, QStringLiteral("Estriol"), clWhite, 83, QStringLiteral("e3"), true, false);
    ResultPanel(right, QStringLiteral("Faux positifs"), 0xFFFF80, 88, false, 0x4080FF);
    ResultPanel(right, QStringLiteral("Aberrations chromosomiques"), clWhite, 88, true, clRed);
    ResultPanel(right, QStringLiteral("Malformations"), clWhite, 88, false, clRed);
    ResultPanel(right, QStringLiteral("Pathologie Obst\u00e9tricale"), clWhite, 83, true, clRed);
    gradient->lower();

    window.show();
    window.activateWindow();
    if (argc > 1) {
        QTimer::singleShot(700, &app, [&] {
            window.grab().save(QString::fromLocal8Bit(argv[1]));
            if (argc > 2)
                window.screen()->grabWindow(0).save(QString::fromLocal8Bit(argv[2]));
            app.quit();
        });
    }
    return app.exec();
}
