#include "Align.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QWidget>
#include <algorithm>
#include <optional>

namespace {

// The settings of the widgets that have any, by widget. Reading them is on the path of every
// realignment, which runs for each move, resize, show and hide of a child: a hash beats looking a
// dynamic property up by name, which first searches every declared property of the class.
struct TAlignSettings {
    TAlign Align = alNone;
    bool AlignSet = false;
    bool WithMargins = false;
    std::optional<TMargins> Margins;
};

// Never destroyed: a widget may go after the statics of this file.
QHash<const QWidget*, TAlignSettings>& AllSettings()
{
    static auto* settings = new QHash<const QWidget*, TAlignSettings>;
    return *settings;
}

const TAlignSettings* FindSettings(const QWidget* widget)
{
    const auto& all = AllSettings();
    const auto found = all.constFind(widget);
    return found == all.constEnd() ? nullptr : &*found;
}

TAlignSettings& SettingsOf(QWidget* widget)
{
    auto& all = AllSettings();
    auto found = all.find(widget);
    if (found == all.end()) {
        found = all.insert(widget, TAlignSettings{});
        QObject::connect(widget, &QObject::destroyed, [widget] { AllSettings().remove(widget); });
    }
    return *found;
}

// The room an item takes: its bounds grown by its margins when it uses them.
TMargins Room(const TAlignItem& item)
{
    return item.WithMargins ? item.Margins : TMargins{0, 0, 0, 0};
}

} // namespace

QRect TRect::ToQRect() const
{
    return QRect(Left, Top, std::max(0, Width()), std::max(0, Height()));
}

int ClampCoord(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, -kCoordLimit, kCoordLimit));
}

TRect MakeRect(long long left, long long top, long long right, long long bottom)
{
    return {ClampCoord(left), ClampCoord(top), ClampCoord(right), ClampCoord(bottom)};
}

std::vector<TRect> ComputeAlignment(const TRect& area, std::span<const TAlignItem> items)
{
    std::vector<TRect> result;
    result.reserve(items.size());
    for (const auto& item : items)
        result.push_back(item.Bounds);

    // Edges of the space still free, widened so that sums of clamped values never overflow.
    long long left = area.Left, top = area.Top, right = area.Right, bottom = area.Bottom;

    auto ordered = [&](TAlign align, auto before) {
        std::vector<std::size_t> order;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].Visible && items[i].Align == align)
                order.push_back(i);
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return before(items[a].Bounds, items[b].Bounds); });
        return order;
    };
    auto place = [&](std::size_t i, long long l, long long t, long long r, long long b) {
        const TMargins m = Room(items[i]);
        result[i] = MakeRect(l + m.Left, t + m.Top, r - m.Right, b - m.Bottom);
    };
    auto heightWithRoom = [&](std::size_t i) {
        const TMargins m = Room(items[i]);
        return static_cast<long long>(items[i].Bounds.Height()) + m.Top + m.Bottom;
    };
    auto widthWithRoom = [&](std::size_t i) {
        const TMargins m = Room(items[i]);
        return static_cast<long long>(items[i].Bounds.Width()) + m.Left + m.Right;
    };

    for (std::size_t i : ordered(alTop, [](const TRect& a, const TRect& b) { return a.Top < b.Top; })) {
        const long long h = heightWithRoom(i);
        place(i, left, top, right, top + h);
        top += h;
    }
    for (std::size_t i : ordered(alBottom, [](const TRect& a, const TRect& b) { return a.Bottom > b.Bottom; })) {
        const long long h = heightWithRoom(i);
        place(i, left, bottom - h, right, bottom);
        bottom -= h;
    }
    for (std::size_t i : ordered(alLeft, [](const TRect& a, const TRect& b) { return a.Left < b.Left; })) {
        const long long w = widthWithRoom(i);
        place(i, left, top, left + w, bottom);
        left += w;
    }
    for (std::size_t i : ordered(alRight, [](const TRect& a, const TRect& b) { return a.Right > b.Right; })) {
        const long long w = widthWithRoom(i);
        place(i, right - w, top, right, bottom);
        right -= w;
    }
    for (std::size_t i : ordered(alClient, [](const TRect&, const TRect&) { return false; }))
        place(i, left, top, right, bottom);
    return result;
}

TAlign GetAlign(const QWidget* widget)
{
    const TAlignSettings* settings = FindSettings(widget);
    return settings && settings->AlignSet ? settings->Align : alNone;
}

void SetAlign(QWidget* widget, TAlign align)
{
    TAlignSettings& settings = SettingsOf(widget);
    if (settings.AlignSet && settings.Align == align)
        return;
    settings.Align = align;
    settings.AlignSet = true;
    RequestRealign(widget->parentWidget());
}

bool GetAlignWithMargins(const QWidget* widget)
{
    const TAlignSettings* settings = FindSettings(widget);
    return settings && settings->WithMargins;
}

TMargins GetMargins(const QWidget* widget)
{
    const TAlignSettings* settings = FindSettings(widget);
    return settings && settings->Margins ? *settings->Margins : TMargins{};
}

void SetAlignWithMargins(QWidget* widget, bool on, TMargins margins)
{
    TAlignSettings& settings = SettingsOf(widget);
    settings.WithMargins = on;
    settings.Margins = margins;
    RequestRealign(widget->parentWidget());
}

void AlignChildren(QWidget* parent, const TRect& area)
{
    std::vector<QWidget*> children;
    std::vector<TAlignItem> items;
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow())
            continue;
        children.push_back(child);
        items.push_back({GetAlign(child), TRect::FromQRect(child->geometry()), GetAlignWithMargins(child),
                         GetMargins(child), !child->isHidden()});
    }
    const std::vector<TRect> bounds = ComputeAlignment(area, items);
    for (std::size_t i = 0; i < children.size(); ++i) {
        const TAlign align = items[i].Align;
        if (!items[i].Visible || align == alNone || align == alCustom)
            continue;
        const QRect r = bounds[i].ToQRect();
        if (children[i]->geometry() != r)
            children[i]->setGeometry(r);
    }
}

void RequestRealign(QWidget* parent)
{
    if (!parent)
        return;
    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(parent, &request);
}
