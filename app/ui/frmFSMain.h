#pragma once
// The main window: the selection display, the destination chooser, the
// progress bar and the Copy/Move command. Handlers are named after their
// control and event; the ones of each subsystem are defined in that
// subsystem's ui/ folder. Its controls carry their names as object names.

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/Selection.h"
#include "app/ui/Services.h"
#include "prefs/InMemorySettings.h"
#include "prefs/SettingsStore.h"

class QLabel;
class QPushButton;
class QMenu;
class QAction;

namespace farsend {

class CProgressBar;
class DriveListBox;
class DirListBox;
class FileListBox;
class PictureBox;

class frmFSMain : public QMainWindow {
    Q_OBJECT
public:
    // services.prompts must be set.
    explicit frmFSMain(Services services, QWidget* parent = nullptr);
    ~frmFSMain() override;

    // The start-up sequence. Returns false when start-up failed (after any
    // message); the caller then unloads the window without showing it.
    bool Form_Load();
    // The closing steps: stores the destination folder as "LDU".
    void Form_Unload();

    // ---- transfer (transfer/ui) ----
    void Command1_Click(int Index);
    void Command1_MouseDown(int Index, Qt::MouseButton Button);
    void mnuActionCopy_Click();
    void mnuActionMove_Click();
    void CopyFiles();
    void MoveFiles();
    bool transferRunning() const { return transferRunning_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class SettingsTarget;  // the window as the settings rules see it (prefs/ui)

    void buildControls();
    void buildMenus();
    void wireEvents();
    Services& services() { return services_; }

    // The main window's progress bar, driven by the transfer.
    std::unique_ptr<CProgressBar> cpbProgress;

    // ---- selection list (start-up) ----
    SelectionArray SelectedFiles{};
    std::int16_t FileCount = 0;
    std::int16_t CurrentFile = 0;
    std::int16_t ParseCommand();

    // ---- controls ----
    QLabel* lblFileName = nullptr;
    QPushButton* cmdFileUp = nullptr;
    QPushButton* cmdFileDn = nullptr;
    DriveListBox* drvFSDrive = nullptr;
    DirListBox* dirFSDir = nullptr;
    PictureBox* picProgress = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command3 = nullptr;
    QLabel* Label2 = nullptr;
    std::array<QPushButton*, 2> Command1{};
    FileListBox* fileFSFile = nullptr;
    QLabel* lblStatus = nullptr;

    QMenu* mnuAction = nullptr;
    QAction* mnuActionCopy = nullptr;
    QAction* mnuActionMove = nullptr;
    QAction* mnuActionCreateDir = nullptr;
    QAction* mnuActionExit = nullptr;
    QMenu* mnuFavorites = nullptr;
    std::array<QAction*, 5> mnuFavArray{};
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpFSHelp = nullptr;
    QAction* mnuHelpOptions = nullptr;
    QAction* mnuHelpAbout = nullptr;

    // ---- selection display, chooser and closing (app/ui) ----
    void cmdFileUp_Click();
    void cmdFileDn_Click();
    void lblFileName_Change();
    void Command3_Click();
    void mnuActionCreateDir_Click();
    void mnuActionExit_Click();
    void drvFSDrive_Change();
    void dirFSDir_Change();
    // Rewrites the selection display in its three-line form for CurrentFile.
    void showCurrentEntry();
    // Ends the program at once, skipping the closing steps.
    void endProgramNow(int exitCode = 0);

    // ---- preferences and favourites (prefs/ui) ----
    void LoadSettings();
    void LoadFavorites();
    void mnuFavArray_Click(int Index);
    void mnuHelpOptions_Click();
    // Opens Add To Favorites.
    void Command2_Click();

    // ---- progress bar (progress/ui) ----
    // Creates cpbProgress when it does not exist yet and attaches picProgress.
    void attachProgressBar();

    // ---- help and about (about/ui) ----
    void mnuHelpFSHelp_Click();
    void mnuHelpAbout_Click();

    Services services_;
    InMemorySettings settings;
    SettingsSaver saver_;
    bool transferRunning_ = false;
    bool unloaded_ = false;
    bool endedNow_ = false;

    // ---- transfer (transfer/ui) ----
    // Runs the walk in one mode; CopyFiles and MoveFiles differ only in it.
    void runTransfer(bool move);
    // Sets the selection display's caption, running its change handler when
    // the text changes.
    void setSelectionCaption(const QString& text);
    bool transferDone_ = false;
    bool transferCaptionChanged_ = false;
};

}  // namespace farsend
