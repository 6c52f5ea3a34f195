// "Update": the tag as the boxes show it written into the file.
#include "Mp3Files.h"
#include "WindowHarness.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using Mp3Files::Tag;

class MainWindowUpdateTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void question();
    void titleOfSpacesAsksNothing_data();
    void titleOfSpacesAsksNothing();
    void answeredNo();
    void appendToFileWithoutTrailer();
    void overwriteKeepsLength();
    void boxTexts_data();
    void boxTexts();
    void unknownGenreByteKept_data();
    void unknownGenreByteKept();
    void writeFailure();
    void afterClearFieldsNothingWritten();
    void afterRenameNoFileCreated();
    void afterFolderChangeWritesShownFile();

private:
    QString addFile(const QString &name, const QByteArray &bytes);
    void openAndClick(int row);
    void setBox(const char *name, const QString &text);
    void clickUpdate();
    std::unique_ptr<WindowHarness> harness;
};

void MainWindowUpdateTest::init()
{
    harness = std::make_unique<WindowHarness>();
}

void MainWindowUpdateTest::cleanup()
{
    harness.reset();
}

QString MainWindowUpdateTest::addFile(const QString &name, const QByteArray &bytes)
{
    const QString path = harness->dir.filePath(name);
    Mp3Files::Write(path, bytes);
    return path;
}

void MainWindowUpdateTest::openAndClick(int row)
{
    harness->open().show();
    QVERIFY(QTest::qWaitForWindowExposed(harness->window.get()));
    harness->window->openFolder(harness->dir.path());
    harness->clickRow(row);
}

void MainWindowUpdateTest::setBox(const char *name, const QString &text)
{
    if (auto *combo = harness->window->findChild<QComboBox *>(QString::fromLatin1(name)))
        combo->setEditText(text);
    else
        harness->find<QLineEdit>(QString::fromLatin1(name))->setText(text);
}

void MainWindowUpdateTest::clickUpdate()
{
    QTest::mouseClick(harness->find<QPushButton>(QStringLiteral("UpdateKnop")), Qt::LeftButton);
}

void MainWindowUpdateTest::question()
{
    addFile(QStringLiteral("a.mp3"), Mp3Files::Audio(1) + Mp3Files::Trailer({"T"}));
    openAndClick(0);
    clickUpdate();
    QCOMPARE(harness->messages.shown.size(), 1);
    const MessageRequest &asked = harness->messages.shown.first();
    QCOMPARE(asked.text, QStringLiteral("Weet je zeker dat je deze tags wilt wijzigen?"));
    QCOMPARE(asked.caption, QStringLiteral("Update"));
    QCOMPARE(asked.buttons, MessageButtons::YesNo);
    QCOMPARE(asked.defaultAnswer, MessageAnswer::Yes);
    QCOMPARE(asked.icon, MessageIcon::None);
}

void MainWindowUpdateTest::titleOfSpacesAsksNothing_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("empty") << "";
    QTest::newRow("spaces") << "     ";
}

void MainWindowUpdateTest::titleOfSpacesAsksNothing()
{
    QFETCH(QString, title);
    const QByteArray bytes = Mp3Files::Audio(1) + Mp3Files::Trailer({"T", "A"});
    const QString path = addFile(QStringLiteral("a.mp3"), bytes);
    openAndClick(0);
    setBox("Text1", title);
    clickUpdate();
    QVERIFY(harness->messages.shown.isEmpty());
    QVERIFY(harness->tagFiles.writes.isEmpty());
    QCOMPARE(Mp3Files::Read(path), bytes);
}

void MainWindowUpdateTest::answeredNo()
{
    const QByteArray bytes = Mp3Files::Audio(1) + Mp3Files::Trailer({"T", "A"});
    const QString path = addFile(QStringLiteral("a.mp3"), bytes);
    openAndClick(0);
    setBox("Text2", QStringLiteral("changed"));
    harness->messages.answer = MessageAnswer::No;
    clickUpdate();
    QCOMPARE(harness->messages.shown.size(), 1);
    QCOMPARE(Mp3Files::Read(path), bytes);
    QCOMPARE(harness->text(QStringLiteral("Text2")), QStringLiteral("changed"));
}

void MainWindowUpdateTest::appendToFileWithoutTrailer()
{
    const QByteArray audio = Mp3Files::Audio(2);
    const QString path = addFile(QStringLiteral("a.mp3"), audio);
    openAndClick(0);
    QCOMPARE(harness->text(QStringLiteral("Text1")), QStringLiteral("No ID Version 1.1 Tag Found"));
    setBox("Text2", QStringLiteral("Artiest"));
    clickUpdate();
    const QByteArray written = Mp3Files::Read(path);
    QCOMPARE(written.size(), audio.size() + 128);
    QVERIFY(written.startsWith(audio));
    QCOMPARE(written.mid(audio.size(), 33), QByteArray("TAGNo ID Version 1.1 Tag Found   "));
    QCOMPARE(harness->window->tagMarker(), QStringLiteral("TAG"));
    QCOMPARE(harness->text(QStringLiteral("Text2")), QStringLiteral("Artiest"));
    QVERIFY2(harness->text(QStringLiteral("Label4"))
                 .endsWith(QStringLiteral("Grootte : %1 Bytes").arg(audio.size() + 128)),
             qPrintable(harness->text(QStringLiteral("Label4"))));
}

void MainWindowUpdateTest::overwriteKeepsLength()
{
    const QByteArray audio = Mp3Files::Audio(2);
    const QString path =
        addFile(QStringLiteral("a.mp3"), audio + Mp3Files::Trailer({"Oud", "X", "Y", "1999"}));
    openAndClick(0);
    setBox("Text1", QStringLiteral("Nieuw"));
    clickUpdate();
    const QByteArray written = Mp3Files::Read(path);
    QCOMPARE(written.size(), audio.size() + 128);
    QCOMPARE(written.left(audio.size()), audio);
    QCOMPARE(written.mid(audio.size() + 3, 30), QByteArray("Nieuw").leftJustified(30, ' '));
    QCOMPARE(harness->text(QStringLiteral("Text1")), QStringLiteral("Nieuw"));
}

void MainWindowUpdateTest::boxTexts_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shownAfter");
    QTest::newRow("leading spaces kept in the file")
        << "Text1"
        << "  Lead" << 3 << QByteArray("  Lead").leftJustified(30, ' ') << "Lead";
    QTest::newRow("year") << "Text4"
                          << "2024" << 93 << QByteArray("2024") << "2024";
    QTest::newRow("comment of 30") << "Text5" << QString(30, QLatin1Char('c')) << 97
                                   << QByteArray(30, 'c') << QString(30, QLatin1Char('c'));
    QTest::newRow("genre name") << "Combo1"
                                << "Jazz" << 127 << QByteArray(1, 8) << "Jazz";
    QTest::newRow("genre not in the table") << "Combo1"
                                            << "Polka Punk" << 127 << QByteArray(1, 12) << "Other";
    QTest::newRow("code page") << "Text2"
                               << "Caf\u00e9 \u20ac" << 33
                               << QByteArray("Caf\xe9 \x80").leftJustified(30, ' ')
                               << "Caf\u00e9 \u20ac";
}

void MainWindowUpdateTest::boxTexts()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(int, offset);
    QFETCH(QByteArray, stored);
    QFETCH(QString, shownAfter);
    const QByteArray audio = Mp3Files::Audio(1);
    const QString path =
        addFile(QStringLiteral("a.mp3"), audio + Mp3Files::Trailer({"T", "A", "B", "1", "C", 0}));
    openAndClick(0);
    setBox(box.toLatin1().constData(), typed);
    clickUpdate();
    const QByteArray trailer = Mp3Files::Read(path).mid(audio.size());
    QCOMPARE(trailer.mid(offset, stored.size()), stored);
    if (box == QLatin1String("Combo1"))
        QCOMPARE(harness->find<QComboBox>(box)->currentText(), shownAfter);
    else
        QCOMPARE(harness->text(box), shownAfter);
}

void MainWindowUpdateTest::unknownGenreByteKept_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("chosen"); // empty: left as shown
    QTest::addColumn<int>("stored");
    QTest::newRow("255 left alone") << 255 << "" << 255;
    QTest::newRow("200 left alone") << 200 << "" << 200;
    QTest::newRow("255, Rock chosen") << 255 << "Rock" << 17;
    QTest::newRow("255, Other chosen") << 255 << "Other" << 12;
    QTest::newRow("known genre left alone") << 8 << "" << 8;
}

void MainWindowUpdateTest::unknownGenreByteKept()
{
    QFETCH(int, byte);
    QFETCH(QString, chosen);
    QFETCH(int, stored);
    const QString path =
        addFile(QStringLiteral("a.mp3"),
                Mp3Files::Audio(1) + Mp3Files::Trailer({"T", "", "", "", "", byte}));
    openAndClick(0);
    if (!chosen.isEmpty())
        setBox("Combo1", chosen);
    setBox("Text2", QStringLiteral("changed"));
    clickUpdate();
    QCOMPARE(int(quint8(Mp3Files::Read(path).back())), stored);
}

void MainWindowUpdateTest::writeFailure()
{
    const QByteArray bytes = Mp3Files::Audio(1) + Mp3Files::Trailer({"T", "A"});
    const QString path = addFile(QStringLiteral("a.mp3"), bytes);
    openAndClick(0);
    setBox("Text1", QStringLiteral("changed"));
    harness->tagFiles.failWrites = true;
    clickUpdate();
    QCOMPARE(harness->messages.shown.size(), 2);
    const MessageRequest &failure = harness->messages.shown.last();
    QCOMPARE(failure.text, QStringLiteral("Fout bij het opslaan..."));
    QCOMPARE(failure.caption, QStringLiteral("Brelko"));
    QCOMPARE(failure.buttons, MessageButtons::Ok);
    QCOMPARE(failure.icon, MessageIcon::None);
    QCOMPARE(Mp3Files::Read(path), bytes);
    // The view is rebuilt from the file, which still holds the old title.
    QCOMPARE(harness->text(QStringLiteral("Text1")), QStringLiteral("T"));
}

void MainWindowUpdateTest::afterClearFieldsNothingWritten()
{
    const QByteArray bytes = Mp3Files::Audio(1) + Mp3Files::Trailer({"T"});
    const QString path = addFile(QStringLiteral("a.mp3"), bytes);
    openAndClick(0);
    harness->window->clearFields();
    setBox("Text1", QStringLiteral("typed after clearing"));
    clickUpdate();
    QVERIFY(harness->tagFiles.writes.isEmpty());
    QCOMPARE(Mp3Files::Read(path), bytes);
}

void MainWindowUpdateTest::afterRenameNoFileCreated()
{
    const QString path = addFile(QStringLiteral("a.mp3"),
                                 Mp3Files::Audio(1) + Mp3Files::Trailer({"Titel", "Artiest"}));
    openAndClick(0);
    QTest::mouseClick(harness->find<QPushButton>(QStringLiteral("RenameKnop_0")), Qt::LeftButton);
    QVERIFY(!QFile::exists(path));
    clickUpdate();
    QCOMPARE(harness->tagFiles.writes, QStringList({path}));
    QVERIFY2(!QFile::exists(path), "the old name must not come back as a new file");
    QCOMPARE(harness->messages.shown.last().text, QStringLiteral("Fout bij het opslaan..."));
}

void MainWindowUpdateTest::afterFolderChangeWritesShownFile()
{
    const QString path =
        addFile(QStringLiteral("a.mp3"), Mp3Files::Audio(1) + Mp3Files::Trailer({"Een"}));
    QDir(harness->dir.path()).mkdir(QStringLiteral("ander"));
    Mp3Files::Write(harness->dir.filePath(QStringLiteral("ander/z.mp3")),
                    Mp3Files::Audio(1) + Mp3Files::Trailer({"Zee"}));
    openAndClick(0);
    harness->window->openFolder(harness->dir.filePath(QStringLiteral("ander")));
    setBox("Text1", QStringLiteral("Twee"));
    clickUpdate();
    QCOMPARE(harness->tagFiles.writes, QStringList({path}));
    QCOMPARE(Mp3Files::Read(path).mid(417 + 3, 4), QByteArray("Twee"));
    QCOMPARE(harness->text(QStringLiteral("Label5")),
             QStringLiteral("Pathname ...........: ") + path);
    QCOMPARE(harness->text(QStringLiteral("Text1")), QStringLiteral("Twee"));
    QCOMPARE(Mp3Files::Read(harness->dir.filePath(QStringLiteral("ander/z.mp3"))).mid(417 + 3, 3),
             QByteArray("Zee"));
}

QTEST_MAIN(MainWindowUpdateTest)
#include "tst_MainWindowUpdate.moc"
