#include "IdeasFile.h"
#include "UrlRecorder.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

// Records the questions asked and gives a fixed answer.
struct TAsker {
    bool Answer = false;
    QStringList Questions;
    TAskYesNo Ask()
    {
        return [this](const QString& question) {
            Questions << question;
            return Answer;
        };
    }
};

} // namespace

class TestIdeas : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void anExistingFileOpensWithoutAQuestion();
    void aMissingFileIsCreatedEmptyOnlyOnYes_data();
    void aMissingFileIsCreatedEmptyOnlyOnYes();
    void theFileIsTheOneOfTheCurrentWorkingDirectory();
    void aFileThatCannotBeCreatedIsReported();
    void theQuestionBoxAnswersWithItsButtons_data();
    void theQuestionBoxAnswersWithItsButtons();

private:
    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TUrlRecorder> FRecorder;
    QString FPreviousDir;
};

void TestIdeas::init()
{
    FPreviousDir = QDir::currentPath();
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    QVERIFY(QDir::setCurrent(FDir->path()));
    FRecorder = std::make_unique<TUrlRecorder>();
}

void TestIdeas::cleanup()
{
    FRecorder.reset();
    QDir::setCurrent(FPreviousDir);
    FDir.reset();
}

void TestIdeas::anExistingFileOpensWithoutAQuestion()
{
    const QString path = FDir->filePath(kIdeasFileName);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("idée 1\n");
    file.close();

    TAsker asker;
    OpenIdeasFile(asker.Ask());
    QVERIFY(asker.Questions.isEmpty());
    QCOMPARE(FRecorder->Urls, QList<QUrl>{QUrl::fromLocalFile(path)});
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("idée 1\n"));
}

void TestIdeas::aMissingFileIsCreatedEmptyOnlyOnYes_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes creates and opens") << true;
    QTest::newRow("no leaves nothing behind") << false;
}

void TestIdeas::aMissingFileIsCreatedEmptyOnlyOnYes()
{
    QFETCH(bool, yes);
    const QString path = FDir->filePath(kIdeasFileName);
    TAsker asker{yes, {}};
    OpenIdeasFile(asker.Ask());
    QCOMPARE(asker.Questions.size(), 1);
    QVERIFY(asker.Questions[0].contains(QDir::toNativeSeparators(path)));
    QVERIFY(asker.Questions[0].contains(QStringLiteral("Voulez-vous créer un nouveau fichier ?")));
    QCOMPARE(QFileInfo::exists(path), yes);
    if (yes) {
        QCOMPARE(QFileInfo(path).size(), qint64(0));
        QCOMPARE(FRecorder->Urls, QList<QUrl>{QUrl::fromLocalFile(path)});
    } else {
        QVERIFY(FRecorder->Urls.isEmpty());
    }
}

void TestIdeas::theFileIsTheOneOfTheCurrentWorkingDirectory()
{
    // The program started elsewhere: the file is looked for where it runs now.
    QTemporaryDir elsewhere;
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    TAsker asker{true, {}};
    OpenIdeasFile(asker.Ask());
    const QString path = QDir(elsewhere.path()).absoluteFilePath(kIdeasFileName);
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(!QFileInfo::exists(FDir->filePath(kIdeasFileName)));
    QCOMPARE(FRecorder->Urls, QList<QUrl>{QUrl::fromLocalFile(path)});
    QVERIFY(QDir::setCurrent(FDir->path()));
}

void TestIdeas::aFileThatCannotBeCreatedIsReported()
{
    // A dangling link in the file's place: the file does not exist and cannot be made there.
    const QString target = FDir->filePath(QStringLiteral("missing-folder/serolis.txt"));
    QVERIFY(QFile::link(target, FDir->filePath(kIdeasFileName)));
    TAsker asker{true, {}};
    QVERIFY_THROWS_EXCEPTION(EIdeasFileError, OpenIdeasFile(asker.Ask()));
    QCOMPARE(asker.Questions.size(), 1);
    QVERIFY(!QFileInfo::exists(target));
    QVERIFY(FRecorder->Urls.isEmpty());
}

void TestIdeas::theQuestionBoxAnswersWithItsButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("answer");
    QTest::newRow("Oui") << "Oui" << true;
    QTest::newRow("Non") << "Non" << false;
}

void TestIdeas::theQuestionBoxAnswersWithItsButtons()
{
    QFETCH(QString, button);
    QFETCH(bool, answer);
    QString shownText;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        shownText = box->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == button)
                b->click();
    });
    closer.start();
    const bool result = MessageBoxAsker(nullptr)(CreateIdeasFileQuestion(QStringLiteral("/tmp/serolis.txt")));
    QCOMPARE(result, answer);
    // The carriage returns of the question become line breaks on the screen.
    QCOMPARE(shownText, QStringLiteral("Le fichier /tmp/serolis.txt est introuvable.\n\nVoulez-vous créer un nouveau fichier ?"));
}

QTEST_MAIN(TestIdeas)
#include "tst_ideas.moc"
