#include <QApplication>
#include <QWidget>

#include <csignal>

int main(int argc, char *argv[])
{
    // A write past the file size limit should fail with EFBIG and be reported
    // like any other failed write, not kill the program.
    std::signal(SIGXFSZ, SIG_IGN);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brelko"));
    QApplication::setOrganizationName(QStringLiteral("Brelko"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Brelko"));
    window.resize(992, 647);
    window.show();
    return app.exec();
}
