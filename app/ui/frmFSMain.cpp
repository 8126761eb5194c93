#include "app/ui/frmFSMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "app/ui/DirListBox.h"
#include "app/ui/DriveListBox.h"
#include "app/ui/FileListBox.h"
#include "app/ui/FittedLabel.h"
#include "app/ui/Twips.h"
#include "progress/CProgressBar.h"
#include "progress/ui/PictureBox.h"

namespace farsend {

frmFSMain::frmFSMain(Services services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)), saver_(*services_.store, *services_.prompts) {
    setObjectName("frmFSMain");
    setWindowTitle(kProgramTitle);
    buildControls();
    buildMenus();
    wireEvents();
    // Fixed dialog border: the window keeps the size of its client area and menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

frmFSMain::~frmFSMain() = default;

namespace {

// The scroll buttons' arrows, drawn rather than taken from a symbol font
// that the desktop may not have: a broad head on a short shaft.
QIcon arrowIcon(bool up, const QColor& colour) {
    constexpr int size = 9;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPolygon head;
    head << QPoint(4, 0) << QPoint(8, 4) << QPoint(0, 4);
    p.drawPolygon(head);
    p.drawRect(2, 4, 5, 5);
    p.end();
    if (!up) pixmap = pixmap.transformed(QTransform().scale(1, -1));
    QIcon icon(pixmap);
    return icon;
}

QLabel* borderedLabel(const QString& text, QWidget* parent) {
    auto* label = new FittedLabel(text, parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

void frmFSMain::buildControls() {
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    auto* client = new QWidget(this);
    client->setObjectName("client");
    setCentralWidget(client);
    client->setFixedSize(twips(3915), twips(4605));
    setFont(formFont());
    // Keys that no control takes (Enter on a list, say) reach the window here.
    client->installEventFilter(this);

    QFont bold = formFont();
    bold.setBold(true);

    lblFileName = borderedLabel(QString(), client);
    lblFileName->setObjectName("lblFileName");
    lblFileName->setAlignment(Qt::AlignCenter);
    lblFileName->setWordWrap(true);
    lblFileName->setFont(bold);
    place(lblFileName, 90, 120, 3435, 975);

    const QColor arrowColour = palette().color(QPalette::ButtonText);
    cmdFileUp = new QPushButton(client);
    cmdFileUp->setObjectName("cmdFileUp");
    cmdFileUp->setIcon(arrowIcon(true, arrowColour));
    cmdFileUp->setIconSize(QSize(9, 9));
    cmdFileUp->setAccessibleName("Previous item");
    place(cmdFileUp, 3570, 120, 255, 255);
    cmdFileDn = new QPushButton(client);
    cmdFileDn->setObjectName("cmdFileDn");
    cmdFileDn->setIcon(arrowIcon(false, arrowColour));
    cmdFileDn->setIconSize(QSize(9, 9));
    cmdFileDn->setAccessibleName("Next item");
    place(cmdFileDn, 3570, 840, 255, 255);

    drvFSDrive = new DriveListBox(*services_.volumes, client);
    drvFSDrive->setObjectName("drvFSDrive");
    drvFSDrive->setIconSize(QSize(14, 14));
    place(drvFSDrive, 90, 1200, 3735, 315);

    dirFSDir = new DirListBox(*services_.fs, *services_.volumes, client);
    dirFSDir->setObjectName("dirFSDir");
    // The drive list shows the drive of the folder list's first folder (the
    // current one); their change handlers are not wired yet.
    if (!dirFSDir->Path().empty()) (void)drvFSDrive->setDrive(dirFSDir->Path());
    dirFSDir->setIconSize(QSize(14, 14));
    place(dirFSDir, 90, 1560, 3735, 1215);

    picProgress = new PictureBox(client);
    picProgress->setObjectName("picProgress");
    place(picProgress, 90, 3060, 3735, 195);

    Command2 = new QPushButton(client);
    Command2->setObjectName("Command2");
    Command2->setAccessibleName("Add To Favorites");
    place(Command2, 90, 3360, 195, 195);
    Label1 = new QLabel("Add To Favorites", client);
    Label1->setObjectName("Label1");
    place(Label1, 390, 3360, 1215, 195);

    Command3 = new QPushButton(client);
    Command3->setObjectName("Command3");
    Command3->setAccessibleName("Create Directory");
    place(Command3, 2370, 3360, 195, 195);
    Label2 = new QLabel("Create Directory", client);
    Label2->setObjectName("Label2");
    place(Label2, 2670, 3360, 1155, 195);
    // Wider fonts need more room for the two captions: Create Directory
    // keeps its right edge and moves left, its button with it.
    growToText(Label1);
    growToText(Label2);
    const int shift = Label2->width() - twips(1155);
    Label2->move(Label2->x() - shift, Label2->y());
    Command3->move(Command3->x() - shift, Command3->y());

    Command1[0] = new QPushButton("&Copy", client);
    Command1[0]->setObjectName("Command1_0");
    Command1[0]->setDefault(true);
    place(Command1[0], 90, 3720, 1215, 435);

    fileFSFile = new FileListBox(*services_.fs, client);
    fileFSFile->setObjectName("fileFSFile");
    place(fileFSFile, 1350, 3720, 1215, 285);
    fileFSFile->hide();

    Command1[1] = new QPushButton("E&xit", client);
    Command1[1]->setObjectName("Command1_1");
    place(Command1[1], 2610, 3720, 1215, 435);

    // The design text, never seen: start-up clears it.
    lblStatus = borderedLabel("Determining directory structures...", client);
    lblStatus->setObjectName("lblStatus");
    place(lblStatus, 0, 4320, 3900, 255);

    // The etched rules under the menu bar and above the status line.
    etchedRule(client, 0, 3915, 3900);
    etchedRule(client, 4260, 3844, 3855);

    // Keyboard order of the focusable controls, as designed.
    QWidget::setTabOrder(cmdFileDn, Command2);
    QWidget::setTabOrder(Command2, drvFSDrive);
    QWidget::setTabOrder(drvFSDrive, dirFSDir);
    QWidget::setTabOrder(dirFSDir, Command1[1]);
    QWidget::setTabOrder(Command1[1], Command1[0]);
    QWidget::setTabOrder(Command1[0], cmdFileUp);
    QWidget::setTabOrder(cmdFileUp, Command3);
}

void frmFSMain::buildMenus() {
    mnuAction = menuBar()->addMenu("&Action");
    mnuAction->setObjectName("mnuAction");
    mnuActionCopy = mnuAction->addAction("&Copy");
    mnuActionCopy->setObjectName("mnuActionCopy");
    mnuActionCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuActionCopy->setCheckable(true);
    mnuActionCopy->setChecked(true);
    mnuActionMove = mnuAction->addAction("&Move");
    mnuActionMove->setObjectName("mnuActionMove");
    mnuActionMove->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    mnuActionMove->setCheckable(true);
    mnuAction->addSeparator()->setObjectName("Sep1");
    mnuActionCreateDir = mnuAction->addAction("Create &Directory");
    mnuActionCreateDir->setObjectName("mnuActionCreateDir");
    mnuActionCreateDir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuAction->addSeparator()->setObjectName("Sep2");
    mnuActionExit = mnuAction->addAction("E&xit");
    mnuActionExit->setObjectName("mnuActionExit");
    mnuActionExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));

    mnuFavorites = menuBar()->addMenu("&Favorites");
    mnuFavorites->setObjectName("mnuFavorites");
    for (int i = 0; i < 5; ++i) {
        mnuFavArray[i] = mnuFavorites->addAction(QString("%1. Empty").arg(i + 1));
        mnuFavArray[i]->setObjectName(QString("mnuFavArray_%1").arg(i));
    }

    mnuHelp = menuBar()->addMenu("&Help");
    mnuHelp->setObjectName("mnuHelp");
    mnuHelpFSHelp = mnuHelp->addAction("Farsend 98 &Help");
    mnuHelpFSHelp->setObjectName("mnuHelpFSHelp");
    // F1 opens the help page, as everywhere on the desktop.
    mnuHelpFSHelp->setShortcut(QKeySequence(Qt::Key_F1));
    mnuHelpOptions = mnuHelp->addAction("&Options");
    mnuHelpOptions->setObjectName("mnuHelpOptions");
    // Two rules in a row, as designed; a menu would fold them into one.
    mnuHelp->setSeparatorsCollapsible(false);
    mnuHelp->addSeparator()->setObjectName("sep3");
    mnuHelp->addSeparator()->setObjectName("sep4");
    mnuHelpAbout = mnuHelp->addAction("&About");
    mnuHelpAbout->setObjectName("mnuHelpAbout");
}

void frmFSMain::wireEvents() {
    connect(cmdFileUp, &QPushButton::clicked, this, [this] { cmdFileUp_Click(); });
    connect(cmdFileDn, &QPushButton::clicked, this, [this] { cmdFileDn_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    for (int i = 0; i < 2; ++i) {
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1[i]->installEventFilter(this);
    }
    connect(mnuActionCopy, &QAction::triggered, this, [this] { mnuActionCopy_Click(); });
    connect(mnuActionMove, &QAction::triggered, this, [this] { mnuActionMove_Click(); });
    connect(mnuActionCreateDir, &QAction::triggered, this, [this] { mnuActionCreateDir_Click(); });
    connect(mnuActionExit, &QAction::triggered, this, [this] { mnuActionExit_Click(); });
    for (int i = 0; i < 5; ++i) connect(mnuFavArray[i], &QAction::triggered, this, [this, i] { mnuFavArray_Click(i); });
    connect(mnuHelpFSHelp, &QAction::triggered, this, [this] { mnuHelpFSHelp_Click(); });
    connect(mnuHelpOptions, &QAction::triggered, this, [this] { mnuHelpOptions_Click(); });
    connect(mnuHelpAbout, &QAction::triggered, this, [this] { mnuHelpAbout_Click(); });
    connect(drvFSDrive, &DriveListBox::changed, this, [this] { drvFSDrive_Change(); });
    connect(dirFSDir, &DirListBox::changed, this, [this] { dirFSDir_Change(); });
}

bool frmFSMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::KeyPress) {
        // Enter presses the focused button, or else the default button,
        // Copy/Move, as a dialog would.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
            QPushButton* target =
                focused != nullptr && focused->parentWidget() == centralWidget() ? focused : Command1[0];
            if (target->isVisible() && target->isEnabled()) target->click();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < 2; ++i) {
            if (watched == Command1[i]) {
                Command1_MouseDown(i, static_cast<QMouseEvent*>(event)->button());
                break;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmFSMain::closeEvent(QCloseEvent* event) {
    // A transfer cannot be cancelled: the window closes only when it ends.
    if (transferRunning_) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmFSMain::endProgramNow(int exitCode) {
    endedNow_ = true;
    unloaded_ = true;  // the closing steps are skipped
    if (services_.endNow) services_.endNow(exitCode);
}

}  // namespace farsend
