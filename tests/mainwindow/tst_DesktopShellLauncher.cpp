// Opening a file and a web page through the desktop, for real: xdg-open
// under a private X server, with handlers of our own that write down what
// they were given.
#include "DesktopServices.h"
#include "MainTexts.h"
#include "TestFiles.h"

#include <QGuiApplication>

class DesktopShellLauncherTest : public QObject {
    Q_OBJECT
    QTemporaryDir home;
    QStringList recorded(const QString &kind) const
    {
        return QString(ReadFile(home.filePath(kind + ".log"))).split('\n', Qt::SkipEmptyParts);
    }

private Q_SLOTS:
    void targetUrl()
    {
        QCOMPARE(ShellTargetUrl(SoftwarePageUrl()), QUrl(SoftwarePageUrl()));
        for (const char *path : {"/m/a b.mp3", "/m/A: B.mp3", "/m/http:x.mp3", "/m/"})
            QCOMPARE(ShellTargetUrl(path), QUrl::fromLocalFile(path)); // even if named like a URL
    }

    void playAndSoftwarePage()
    {
        // xdg-open needs file to recognise MP3s.
        QVERIFY2(!QStandardPaths::findExecutable("xdg-open").isEmpty() &&
                     !QStandardPaths::findExecutable("file").isEmpty(),
                 "xdg-open or file is missing: run scripts/install-deps");
        QVERIFY2(QGuiApplication::platformName() == "xcb", "needs a real X server");
        // A desktop of our own: no desktop environment, our handlers only.
        for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                 "GNOME_DESKTOP_SESSION_ID", "BROWSER", "DEFAULT_BROWSER"})
            qunsetenv(name);
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
        QVERIFY(QDir(home.path()).mkpath("data/applications") &&
                QDir(home.path()).mkpath("config"));
        QByteArray defaults = "[Default Applications]\n";
        for (const QString &kind : QStringList{"player", "browser"}) {
            const QString script = home.filePath(kind + ".sh"),
                          desktop = "brelko-" + kind + ".desktop";
            const QString mime = kind == "player" ? "audio/mpeg" : "x-scheme-handler/https";
            QVERIFY(TryWriteFile(script, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" +
                                             QFile::encodeName(home.filePath(kind + ".log")) +
                                             "'\n"));
            QVERIFY(QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            // clang-format off
            QVERIFY(TryWriteFile(home.filePath("data/applications/" + desktop),
            QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2 %3\nMimeType=%4;\n")
                    .arg(desktop, script, kind == "player" ? "%f" : "%u", mime).toUtf8()));
            // clang-format on
            defaults += (mime + '=' + desktop + '\n').toUtf8();
        }
        QVERIFY(TryWriteFile(home.filePath("config/mimeapps.list"), defaults));

        const QString path = home.filePath("Muziek met spaties/Morning - Quartet.mp3");
        QVERIFY(QDir(home.path()).mkdir("Muziek met spaties") &&
                TryWriteFile(path, MpegFrames(8) + Trailer({"Morning"})));
        DesktopShellLauncher shell;
        for (const QString &target : {QString(), path, SoftwarePageUrl()})
            shell.open(target);                             // an empty target does nothing
        const QStringList both = {path, SoftwarePageUrl()}; // each once, to its own handler
        QTRY_COMPARE_WITH_TIMEOUT(recorded("player") + recorded("browser"), both, 15000);
        QTest::qWait(500);
        QCOMPARE(recorded("player") + recorded("browser"), both);
    }
};

QTEST_MAIN(DesktopShellLauncherTest)
#include "tst_DesktopShellLauncher.moc"
