#include "MainWindow.h"

#include "Clock.h"
#include "Controls.h"
#include "FolderLister.h"
#include "Genres.h"
#include "MainTexts.h"
#include "Mp3ListView.h"
#include "PictureBox.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QStringListModel>
#include <QTimer>

MainWindow::MainWindow(const MainWindowServices &services, QWidget *parent)
    : QMainWindow(parent), services_(services), settings_(services.settingsPath),
      startFolder_(services.startFolder)
{
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

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(100);
    connect(timer1_, &QTimer::timeout, this, &MainWindow::tick);
    timer1_->start();

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize size = sizeHint();
        move(screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
    }
    menuPic_->setFocus();
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

void MainWindow::setButtonAction(int index, std::function<void()> action)
{
    if (index >= 0 && index < ButtonCount)
        buttonActions_[size_t(index)] = std::move(action);
}

MainWindow::ShownTag MainWindow::shownTag() const
{
    ShownTag shown;
    const int row = list1_->selectedRow();
    if (row >= 0)
        shown.fileName = listModel_->stringList().value(row);
    shown.title = texts_[0]->text();
    shown.artist = texts_[1]->text();
    shown.album = texts_[2]->text();
    shown.year = texts_[3]->text();
    shown.comment = texts_[4]->text();
    shown.genre = combo1_->currentText();
    shown.selectedFilePath = selectedFilePath_;
    return shown;
}

void MainWindow::tick()
{
    const QDateTime now = services_.clock.now();
    SetCaption(klokLabel_, ClockText(now.time()));
    if (const auto title = TitleLineText(now, QLocale::system()))
        SetCaption(label2_, *title);
}

void MainWindow::clearFields()
{
    prepareSummary();
    listModel_->setStringList({});
    SetCaption(label13_, QStringLiteral("Files : 0"));
    SetCaption(label3_, QLatin1String(FileNamePrefix));
    SetCaption(label4_, QLatin1String(FileDatePrefix));
    SetCaption(label5_, QLatin1String(FilePathPrefix));
    for (QLineEdit *text : texts_)
        text->clear();
    selectedFilePath_.clear();
    selectedFolder_.clear();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Nobody is told when the file cannot be written: the program ends anyway.
    settings_.write(colour_);
    timer1_->stop();
    event->accept();
}
