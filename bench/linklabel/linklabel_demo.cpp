// Shows link labels with the mark-up they understand: plain, bold, coloured, linked, dynamic and
// wrapped captions, at the width the main window gives its result labels (259 pixels).
//   linklabel_demo [window.png]   saves the window after a moment and quits

#include "LinkLabel.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Link labels"));
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0xff, 0xff, 0xdc));
    window.setPalette(palette);
    constexpr int kSlotPx = 48; // each label starts a slot of its own and grows downward in it

    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    const QString captions[] = {
        QStringLiteral(" Caryotype"),
        QStringLiteral("Echographie, Biométrie, Dopplers Art.U, Biologie"),
        QStringLiteral("Plain, <b>bold</b>, <i>italic</i>, <u>underlined</u> and <b><i>both</i></b>"),
        QStringLiteral("<color=clRed>clRed</color>, <color=$008000>$008000</color>, <color=16711680>16711680</color>"),
        QStringLiteral("See <link=orphanet>Orphanet</link> or <link=cngof>the <b>CNGOF</b> guidelines</link>."),
        QStringLiteral("A line<br>break, a paragraph<p>and a <dynamic> part, &lt;escaped&gt;."),
    };
    int n = 0;
    for (const QString& caption : captions) {
        auto* label = new TLinkLabel(&window);
        label->setFont(font);
        label->SetTransparent(true);
        label->SetHotLinks(true);
        label->SetFontColor(n == 1 ? clBlue : clWindowText);
        label->OnDynamicTagInit = [](TObject*, QString& source, int) { source = QStringLiteral("<b>supplied</b>"); };
        label->SetCaption(caption);
        label->setGeometry(10, 10 + n * kSlotPx, 259, 17);
        label->Loaded();
        ++n;
    }
    window.resize(279, 20 + 6 * kSlotPx);
    window.show();
    if (argc > 1) {
        const QString file = QString::fromLocal8Bit(argv[1]);
        QTimer::singleShot(500, [&window, &application, file] {
            window.grab().save(file);
            application.quit();
        });
    }
    return application.exec();
}
