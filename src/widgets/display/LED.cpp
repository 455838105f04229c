#include "LED.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <climits>

namespace {

constexpr QRgb kLampBodyRgb = 0xFF00FF00u;  // the lime pixels of the stored picture take the colour

// The stored pictures, decoded once; every recolouring starts again from the pristine lamp.
const QImage& PristineLamp()
{
    static const QImage image = QImage(QStringLiteral(":/display/CustomLEDGREEN.png")).convertToFormat(QImage::Format_RGB888);
    return image;
}

const QImage& LampMask()
{
    static const QImage image = QImage(QStringLiteral(":/display/CustomLEDMASK.png")).convertToFormat(QImage::Format_RGB32);
    return image;
}

// The lamp picture in one colour: the pristine picture with its lime body pixels replaced.
// Each colour is built once and shared, so that a blinking lamp does not redo the same picture
// on every tick; only a handful of colours are ever in use.
QImage LampIn(QRgb colour)
{
    static QHash<QRgb, QImage> pictures;
    if (const auto found = pictures.constFind(colour); found != pictures.constEnd())
        return *found;
    QImage picture = PristineLamp().copy();
    for (int x = 0; x < picture.width(); ++x)
        for (int y = 0; y < picture.height(); ++y)
            if (picture.pixel(x, y) == kLampBodyRgb)
                picture.setPixel(x, y, colour);
    constexpr qsizetype kMostColours = 64;
    if (pictures.size() >= kMostColours)
        pictures.clear();
    pictures.insert(colour, picture);
    return picture;
}

// The lamp skips its ticks while the window it lives in, the program's main window, is minimised.
bool ApplicationMinimized(const QWidget* lamp)
{
    const QWidget* window = lamp->window();
    return window && window->isMinimized();
}

} // namespace

TCustomLED::TCustomLED(QWidget* owner)
    : TExGraphicControl(owner)
{
    FImgMask = LampMask();

    FTimer = new QTimer(this);
    FTimer->stop();
    connect(FTimer, &QTimer::timeout, this, &TCustomLED::Tick);
    FInterval = kDefaultIntervalMs;
    FTimer->setInterval(static_cast<int>(FInterval));

    // Each colour assignment rebuilds the picture, so the order of these matters: the picture
    // is lime, then red (the lamp is still unlit), then lime again once lit.
    SetColor(clLime);
    resize(kPictureSizePx, kPictureSizePx);
    SetColorOn(clLime);
    SetColorOff(clRed);
    SetActive(false);
    SetStatus(true);
}

TCustomLED::~TCustomLED()
{
    // No tick may reach a lamp whose pictures are going away.
    FTimer->stop();
    disconnect(FTimer, nullptr, this, nullptr);
    delete FTimer;
    FTimer = nullptr;
}

void TCustomLED::SetActive(bool active)
{
    FActive = active;
    UpdateTimer(false);
}

void TCustomLED::SetStatus(bool status)
{
    FStatus = status;
    SetColor(status ? FColorOn : FColorOff);
    Fire(OnChange, this);
}

void TCustomLED::SetColorOn(TColor color)
{
    FColorOn = color;
    if (FStatus)
        SetColor(color);
}

void TCustomLED::SetColorOff(TColor color)
{
    FColorOff = color;
    if (!FStatus)
        SetColor(color);
}

void TCustomLED::SetInterval(std::uint32_t interval)
{
    if (interval == FInterval)
        return;
    FInterval = interval;
    FTimer->setInterval(static_cast<int>(std::min<std::uint32_t>(interval, INT_MAX)));
    UpdateTimer(true);
}

void TCustomLED::UpdateTimer(bool restart)
{
    // The timer only runs while blinking is on and it has a period: an interval of 0 would
    // otherwise fire on every pass of the event loop.
    if (FActive && FInterval > 0) {
        if (restart || !FTimer->isActive())
            FTimer->start();
    } else {
        FTimer->stop();
    }
}

void TCustomLED::SetAutoSize(bool on)
{
    if (on == FAutoSize)
        return;
    FAutoSize = on;
    if (on)
        SetBounds(x(), y(), width(), height());
}

void TCustomLED::SetBounds(int left, int top, int width, int height)
{
    const TAlign align = GetAlign(this);
    if (FAutoSize && (align == alNone || align == alCustom)) {
        width = FImgPict.width();
        height = FImgPict.height();
    }
    setGeometry(left, top, std::max(0, width), std::max(0, height));
}

void TCustomLED::ColorChanged()
{
    TExGraphicControl::ColorChanged();
    FImgPict = LampIn(ToQColor(Color()).rgb());
    repaint();
}

void TCustomLED::Paint(QPainter& painter)
{
    const int pw = FImgPict.width();
    const int ph = FImgPict.height();
    // Centred; the division truncates toward zero, so a too-small control shifts the lamp by
    // half the shortfall rounded toward zero and clips the rest.
    const QPoint at((width() - pw) / 2, (height() - ph) / 2);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(at, FImgMask);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(at, FImgPict);
}

void TCustomLED::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter);
}

void TCustomLED::mousePressEvent(QMouseEvent* event)
{
    TExGraphicControl::mousePressEvent(event);
    event->accept();
}

void TCustomLED::Tick()
{
    if (ApplicationMinimized(this))
        return;
    SetStatus(!FStatus);
}
