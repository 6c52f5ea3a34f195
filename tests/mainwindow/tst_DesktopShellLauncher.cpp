// Opening a file and a web page through the desktop, for real: xdg-open
// under a private X server, with handlers of our own that write down what
// they were given.
#include "DesktopServices.h"
#include "EventLoopPauser.h"
#include "FolderLister.h"
#include "MainTexts.h"
#include "MainWindow.h"
#include "Mp3Files.h"
#include "TagFileService.h"

#include "Fakes.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class DesktopShellLauncherTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void targetUrl_data();
    void targetUrl();
    void emptyTargetDoesNothing();
    void playOpensTheFileWithItsPlayer();
    void softwarePageOpensInTheBrowser();

private:
    QStringList recorded(const QString &kind) const;
    void writeHandler(const QString &kind, const QString &mime, const char *fieldCode);
    QTemporaryDir home;
    QString music;
};

void DesktopShellLauncherTest::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty(),
             "xdg-open is missing: install xdg-utils (scripts/install-deps)");
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("file")).isEmpty(),
             "file is missing: xdg-open needs it to recognise MP3 files");
    QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"),
             "needs a real X server; the offscreen platform opens no URLs");
    // A desktop of our own: no desktop environment, our handlers only.
    for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                             "GNOME_DESKTOP_SESSION_ID", "BROWSER", "DEFAULT_BROWSER"})
        qunsetenv(name);
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    QDir(home.path()).mkpath(QStringLiteral("data/applications"));
    QDir(home.path()).mkpath(QStringLiteral("config"));
    writeHandler(QStringLiteral("player"), QStringLiteral("audio/mpeg"), "%f");
    writeHandler(QStringLiteral("browser"), QStringLiteral("x-scheme-handler/https"), "%u");
    QFile mimeapps(home.filePath(QStringLiteral("config/mimeapps.list")));
    QVERIFY(mimeapps.open(QIODevice::WriteOnly));
    mimeapps.write("[Default Applications]\n"
                   "audio/mpeg=brelko-test-player.desktop\n"
                   "x-scheme-handler/https=brelko-test-browser.desktop\n");
    music = home.filePath(QStringLiteral("Muziek met spaties"));
    QVERIFY(QDir().mkpath(music));
}

void DesktopShellLauncherTest::writeHandler(const QString &kind, const QString &mime,
                                            const char *fieldCode)
{
    const QString script = home.filePath(kind + QStringLiteral(".sh"));
    QFile recorder(script);
    QVERIFY(recorder.open(QIODevice::WriteOnly));
    recorder.write("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" +
                   QFile::encodeName(home.filePath(kind + QStringLiteral(".log"))) + "'\n");
    recorder.close();
    QVERIFY(recorder.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ExeOwner));
    QFile desktop(home.filePath(QStringLiteral("data/applications/brelko-test-") + kind +
                                QStringLiteral(".desktop")));
    QVERIFY(desktop.open(QIODevice::WriteOnly));
    desktop.write("[Desktop Entry]\nType=Application\nName=Brelko test " + kind.toUtf8() +
                  "\nExec=" + QFile::encodeName(script) + " " + fieldCode +
                  "\nMimeType=" + mime.toUtf8() + ";\n");
}

void DesktopShellLauncherTest::init()
{
    for (const char *kind : {"player", "browser"})
        QFile::remove(home.filePath(QString::fromLatin1(kind) + QStringLiteral(".log")));
}

QStringList DesktopShellLauncherTest::recorded(const QString &kind) const
{
    QFile log(home.filePath(kind + QStringLiteral(".log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void DesktopShellLauncherTest::targetUrl_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QUrl>("url");
    QTest::newRow("web page") << SoftwarePageUrl() << QUrl(SoftwarePageUrl());
    QTest::newRow("file") << "/m/a b.mp3" << QUrl::fromLocalFile(QStringLiteral("/m/a b.mp3"));
    QTest::newRow("file with a colon")
        << "/m/A: B.mp3" << QUrl::fromLocalFile(QStringLiteral("/m/A: B.mp3"));
    QTest::newRow("folder") << "/m/" << QUrl::fromLocalFile(QStringLiteral("/m/"));
    QTest::newRow("file named like a URL")
        << "/m/http:x.mp3" << QUrl::fromLocalFile(QStringLiteral("/m/http:x.mp3"));
}

void DesktopShellLauncherTest::targetUrl()
{
    QFETCH(QString, target);
    QFETCH(QUrl, url);
    QCOMPARE(ShellTargetUrl(target), url);
}

void DesktopShellLauncherTest::emptyTargetDoesNothing()
{
    DesktopShellLauncher().open(QString());
    QTest::qWait(1500);
    QVERIFY(recorded(QStringLiteral("player")).isEmpty());
    QVERIFY(recorded(QStringLiteral("browser")).isEmpty());
}

void DesktopShellLauncherTest::playOpensTheFileWithItsPlayer()
{
    const QString path = music + QStringLiteral("/Morning - Quartet.mp3");
    QVERIFY(Mp3Files::Write(path, Mp3Files::Audio(8) + Mp3Files::Trailer({"Morning"})));
    FakeMessages messages;
    FakeClock clock;
    DesktopShellLauncher shell;
    EventLoopPauser pauser;
    SystemFolderLister folders;
    TagFileService tagFiles;
    MainWindow window({messages, clock, shell, pauser, folders, tagFiles,
                       home.filePath(QStringLiteral("config/Brelko.ini")), music});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.openFolder(music);
    auto *list = window.findChild<QAbstractItemView *>(QStringLiteral("List1"));
    list->selectionModel()->setCurrentIndex(list->model()->index(0, 0),
                                            QItemSelectionModel::ClearAndSelect);
    window.activateWindow();
    QTRY_VERIFY(window.isActiveWindow());
    QTest::keyClick(&window, Qt::Key_F5);
    QTRY_COMPARE_WITH_TIMEOUT(recorded(QStringLiteral("player")), QStringList({path}), 15000);
    QVERIFY(recorded(QStringLiteral("browser")).isEmpty());
}

void DesktopShellLauncherTest::softwarePageOpensInTheBrowser()
{
    FakeMessages messages;
    FakeClock clock;
    DesktopShellLauncher shell;
    FakePauser pauser;
    SystemFolderLister folders;
    TagFileService tagFiles;
    MainWindow window({messages, clock, shell, pauser, folders, tagFiles,
                       home.filePath(QStringLiteral("config/Brelko.ini")), music});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QAction *>(QStringLiteral("HelpMeerSoftware"))->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(recorded(QStringLiteral("browser")), QStringList({SoftwarePageUrl()}),
                              15000);
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("Knop_4")), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(recorded(QStringLiteral("browser")),
                              QStringList({SoftwarePageUrl(), SoftwarePageUrl()}), 15000);
    QVERIFY(recorded(QStringLiteral("player")).isEmpty());
}

QTEST_MAIN(DesktopShellLauncherTest)
#include "tst_DesktopShellLauncher.moc"
