#include "MainWindow.h"

#include "Controls.h"
#include "Twips.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QImageReader>
#include <QLayout>
#include <QScreen>
#include <QThreadPool>
#include <QTimer>

MainWindow::MainWindow(const MainWindowServices &services, QWidget *parent)
    : QMainWindow(parent), presenter_(services, *this), settings_(services.settingsPath),
      pauser_(services.pauser)
{
    // Two things the first frame needs are slow the first time and need no
    // window: the system's font configuration, which the first text waits
    // for, and the image plugins, which the menu bar's style reads an icon
    // through. A spare core readies both while the controls are made.
    QThreadPool::globalInstance()->start([] {
        QFontDatabase::families();
        QBuffer nothing;
        nothing.open(QIODevice::ReadOnly);
        QImageReader::imageFormat(&nothing);
    });
    presenter_.setOwner(this);
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Brelko"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    // The client area under the menu bar; the window manager adds the title
    // bar and borders outside it.
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("MainClient"));
    central->setFont(ArialFont(9.75));
    central->setFixedSize(Px(14880), Px(9705));
    central->setAutoFillBackground(true);
    setCentralWidget(central);

    buildButtonBar(central);
    buildNavigation(central);
    buildTagPanel(central);
    buildSummaryPanel(central);
    buildHelpPanel(central);
    buildRenamePanel(central);
    buildClockPanel(central);
    buildInfoStrip(central);
    buildMenus();
    setAccessibility();
    setTabOrder();
    // The surfaces that take the user's colour besides the window itself, in
    // the order they are painted.
    for (const char *name :
         {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5", "Frame6", "HelpFrame"})
        backgroundFrames_.append(central->findChild<QFrame *>(QLatin1String(name)));

    applyBackground(); // the default colour
    if (settings_.read(colour_))
        applyBackground();

    clockTimer_ = new QTimer(this);
    clockTimer_->setObjectName(QStringLiteral("Timer1"));
    clockTimer_->setInterval(100);
    connect(clockTimer_, &QTimer::timeout, this, [this] { presenter_.tick(); });
    clockTimer_->start();

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize size = sizeHint();
        move(screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
    }
    buttonBar_->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::setBackground(const BackgroundColour &colour)
{
    colour_ = colour;
    applyBackground();
}

void MainWindow::applyBackground()
{
    // A hand-edited settings file may hold more than 255; it paints as 255.
    const QColor colour(qBound(0, colour_.red, 255), qBound(0, colour_.green, 255), colour_.blue);
    SetBackColour(centralWidget(), colour);
    for (QFrame *frame : backgroundFrames_)
        SetBackColour(frame, colour);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Nobody is told when the file cannot be written: the program ends anyway.
    settings_.write(colour_);
    clockTimer_->stop();
    event->accept();
}
