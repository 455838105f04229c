#include "Application.h"
#include "SerolisApplication.h"

#include <QFontInfo>
#include <QTimer>
#include <QtTest>
#include <stdexcept>

namespace {

// An object whose own event handler fails.
class TThrowingReceiver : public QObject
{
public:
    static constexpr QEvent::Type kFailing = QEvent::User;
    bool event(QEvent* event) override
    {
        if (event->type() == kFailing)
            throw std::runtime_error("Événement refusé");
        return QObject::event(event);
    }
};

struct TNotAStdException {};

} // namespace

class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void identifiesTheProgramToTheDesktop();
    void declaresStandInsForTheWindowFonts();
    void anErrorEscapingAHandlerIsReportedAndTheLoopGoesOn_data();
    void anErrorEscapingAHandlerIsReportedAndTheLoopGoesOn();
    void anErrorEscapingAnEventHandlerIsReported();

private:
    QStringList FReports;
    Application::TErrorDisplay FPrevious;
};

void TestApplication::init()
{
    FReports.clear();
    FPrevious = Application::SetErrorDisplay([this](const QString& text) { FReports << text; });
}

void TestApplication::cleanup()
{
    Application::SetErrorDisplay(FPrevious);
}

void TestApplication::identifiesTheProgramToTheDesktop()
{
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("test_application"));
    QCOMPARE(QCoreApplication::applicationName(), Application::Title());
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("serolis"));
    const QIcon icon = QApplication::windowIcon();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.pixmap(32).size(), QSize(32, 32));
}

void TestApplication::declaresStandInsForTheWindowFonts()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
    QCOMPARE(QFontInfo(QFont(QStringLiteral("Arial"))).family(), QStringLiteral("Liberation Sans"));
}

void TestApplication::anErrorEscapingAHandlerIsReportedAndTheLoopGoesOn_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("report");
    QTest::newRow("a message gets its full stop") << 0 << "Clic refusé.";
    QTest::newRow("a message ending in a full stop gets none") << 1 << "Déjà fini.";
    QTest::newRow("a message ending in a blank gets none") << 2 << "Espace ";
    QTest::newRow("an error of no known kind") << 3 << "Erreur inconnue.";
}

void TestApplication::anErrorEscapingAHandlerIsReportedAndTheLoopGoesOn()
{
    QFETCH(int, kind);
    QFETCH(QString, report);
    bool later = false;
    QTimer::singleShot(0, [kind] {
        switch (kind) {
        case 0: throw std::runtime_error("Clic refusé");
        case 1: throw std::runtime_error("Déjà fini.");
        case 2: throw std::logic_error("Espace ");
        default: throw TNotAStdException{};
        }
    });
    QTimer::singleShot(0, [&later] { later = true; });
    QTRY_VERIFY_WITH_TIMEOUT(later, 1000);
    QCOMPARE(FReports, QStringList{report});
}

void TestApplication::anErrorEscapingAnEventHandlerIsReported()
{
    TThrowingReceiver receiver;
    bool later = false;
    QCoreApplication::postEvent(&receiver, new QEvent(TThrowingReceiver::kFailing));
    QTimer::singleShot(0, [&later] { later = true; });
    QTRY_VERIFY_WITH_TIMEOUT(later, 1000);
    QCOMPARE(FReports, QStringList{QStringLiteral("Événement refusé.")});
}

int main(int argc, char* argv[])
{
    TSerolisApplication application(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
