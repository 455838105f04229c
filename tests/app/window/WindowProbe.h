#pragma once
// Helpers for the main window's tests: what the window shows, read back from its components, and
// a closer for the modal boxes it opens.

#include "Unit1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

// Everything a marker change or a command may alter, in one comparable record.
struct TWindowState {
    QString Title;
    QStringList EditTexts;
    QList<int> SliderPositions;
    QList<TColor> CaptionColors;
    QStringList Findings; // finding and action of each result panel, top to bottom
    QStringList LampsBlinking;
    QStringList LampsUnlit;

    friend bool operator==(const TWindowState&, const TWindowState&) = default;
};

inline QList<TLED*> AllLamps(const TForm1& f)
{
    return {f.led_triplo, f.led_afp1, f.led_afp,   f.led_hcg1,   f.led_hcg,    f.led_e31,
            f.led_e3,     f.led_fauxpo, f.led_chromo, f.led_malfo, f.led_patho};
}

inline TWindowState StateOf(const TForm1& f)
{
    TWindowState s;
    s.Title = f.windowTitle();
    for (auto* edit : {f.edit_triplo, f.edit_afp, f.edit_hcg, f.edit_E3})
        s.EditTexts << edit->text();
    for (auto* slider : {f.Track_triplo, f.Track_afp, f.Track_hcg, f.Track_E3})
        s.SliderPositions << slider->value();
    for (auto* panel : {f.panel_triplo, f.panel_afp, f.panel_hcg, f.panel_E3, f.panel_fauxpo, f.panel_chromo,
                        f.panel_malfo, f.panel_patho})
        s.CaptionColors << panel->CaptionColor();
    s.Findings << f.label_fauxpo->Caption() << f.cat_fauxpo->Caption() << f.label_chromo->Caption()
               << f.cat_chromo->Caption() << f.label_malfo->Caption() << f.cat_malfo->Caption()
               << f.label_patho->Caption() << f.cat_patho->Caption();
    for (TLED* led : AllLamps(f)) {
        if (led->Active())
            s.LampsBlinking << led->objectName();
        else if (!led->Status())
            s.LampsUnlit << led->objectName();
    }
    return s;
}

inline QString Describe(const TWindowState& s)
{
    QStringList colors;
    for (TColor c : s.CaptionColors)
        colors << QString::number(c, 16);
    QStringList sliders;
    for (int p : s.SliderPositions)
        sliders << QString::number(p);
    return QStringLiteral("title=%1 edits=[%2] sliders=[%3] captions=[%4] findings=[%5] blinking=[%6] unlit=[%7]")
        .arg(s.Title, s.EditTexts.join(u'|'), sliders.join(u','), colors.join(u','), s.Findings.join(u'|'),
             s.LampsBlinking.join(u','), s.LampsUnlit.join(u','));
}

// Closes every modal message box as soon as it opens, recording what it showed.
class TBoxCloser : public QObject
{
public:
    struct TBox {
        QString Title;
        QString Text;
        QMessageBox::Icon Icon;
        QStringList Buttons;
    };

    TBoxCloser()
    {
        FTimer.setInterval(5);
        connect(&FTimer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            QStringList buttons;
            for (QAbstractButton* b : box->buttons())
                buttons << b->text();
            Boxes.push_back({box->windowTitle(), box->text(), box->icon(), buttons});
            box->done(0);
        });
        FTimer.start();
    }

    QList<TBox> Boxes;

private:
    QTimer FTimer;
};
