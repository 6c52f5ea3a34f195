#include "PathNames.h"
#include "ShellOperation.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

class PathNamesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shellFlags_data()
    {
        QTest::addColumn<int>("boxes"); // bit i: box i ticked
        QTest::addColumn<qint32>("flags");
        const qint32 values[4] = {0x0004, 0x0100, 0x0010, 0x0008};
        for (int boxes = 0; boxes < 16; ++boxes) {
            qint32 expected = 0;
            for (int i = 0; i < 4; ++i)
                expected |= (boxes >> i & 1) ? values[i] : 0;
            QTest::addRow("boxes %x", boxes) << boxes << expected;
        }
    }
    void shellFlags()
    {
        QFETCH(int, boxes);
        QFETCH(qint32, flags);
        const ShellOptions options{bool(boxes & 1), bool(boxes & 2), bool(boxes & 4),
                                   bool(boxes & 8)};
        QCOMPARE(GetShellFlags(options), flags);
    }

    void lastNameAndParent_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::newRow("plain") << "/a/b/c"
                               << "c"
                               << "/a/b";
        QTest::newRow("trailing slash") << "/a/b/"
                                        << "b"
                                        << "/a";
        QTest::newRow("below root") << "/a"
                                    << "a"
                                    << "/";
        QTest::newRow("root") << "/"
                              << ""
                              << "/";
    }
    void lastNameAndParent()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QCOMPARE(QString::fromStdString(LastName(path.toStdString())), name);
        QCOMPARE(QString::fromStdString(ParentPath(path.toStdString())), parent);
    }

    void freeName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file") << "song.mp3" << QStringList{} << "song (2).mp3";
        QTest::newRow("skips taken")
            << "song.mp3" << QStringList{"song (2).mp3", "song (3).mp3"} << "song (4).mp3";
        QTest::newRow("folder") << "album" << QStringList{} << "album (2)";
        QTest::newRow("two dots") << "a.tar.gz" << QStringList{} << "a.tar (2).gz";
        QTest::newRow("hidden file") << ".profile" << QStringList{} << ".profile (2)";
    }
    void freeName()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, taken);
        QFETCH(QString, expected);
        const QSet<QString> used(taken.cbegin(), taken.cend());
        const std::string result = FreeName(name.toStdString(), [&](const std::string &candidate) {
            return used.contains(QString::fromStdString(candidate));
        });
        QCOMPARE(QString::fromStdString(result), expected);
    }

    void resolveAndInside_data()
    {
        QTest::addColumn<QString>("inner");
        QTest::addColumn<QString>("outer");
        QTest::addColumn<bool>("inside");
        QTest::newRow("same") << "src"
                              << "src" << true;
        QTest::newRow("child") << "src/sub"
                               << "src" << true;
        QTest::newRow("missing child") << "src/new/deeper"
                                       << "src" << true;
        QTest::newRow("through a link") << "link-to-src/sub"
                                        << "src" << true;
        QTest::newRow("sibling with longer name") << "src2"
                                                  << "src" << false;
        QTest::newRow("parent") << "."
                                << "src" << false;
        QTest::newRow("dots back out") << "src/../other"
                                       << "src" << false;
    }
    void resolveAndInside()
    {
        QFETCH(QString, inner);
        QFETCH(QString, outer);
        QFETCH(bool, inside);
        QTemporaryDir temp;
        QDir(temp.path()).mkpath("src/sub");
        QDir(temp.path()).mkpath("src2");
        QDir(temp.path()).mkpath("other");
        QFile::link(temp.filePath("src"), temp.filePath("link-to-src"));
        const std::string resolvedInner = ResolvePath(temp.filePath(inner).toStdString());
        const std::string resolvedOuter = ResolvePath(temp.filePath(outer).toStdString());
        QCOMPARE(IsSameOrInside(resolvedInner, resolvedOuter), inside);
    }

    void temporaryNamesAreRecognisedAndUnique()
    {
        const std::string first = TemporaryName();
        const std::string second = TemporaryName();
        QVERIFY(first != second);
        QVERIFY(IsTemporaryName(first));
        QVERIFY(!IsTemporaryName("song.mp3"));
        QVERIFY(!IsTemporaryName(".brelko-.part"));
    }
};

QTEST_GUILESS_MAIN(PathNamesTest)
#include "tst_PathNames.moc"
