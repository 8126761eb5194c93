#include "prefs/ui/Form1.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/ui/Twips.h"
#include "prefs/Favorites.h"
#include "prefs/LoadSettings.h"
#include "prefs/ui/DialogLayout.h"

namespace farsend {

Form1::Form1(SettingsSaver& settings, IPrompts& prompts, std::string folder, std::function<void()> added)
    : QDialog(nullptr), settings_(settings), prompts_(prompts), folder_(std::move(folder)), added_(std::move(added)) {
    setObjectName("Form1");
    setWindowTitle("Add To Favorites...");
    setFixedSize(twips(6075), twips(1305));
    setFont(formFont());

    Label1[0] = new QLabel("&Name", this);
    Label1[0]->setObjectName("Label1_0");
    place(Label1[0], 60, 60, 435, 195);
    txtName = new QLineEdit(this);
    txtName->setObjectName("txtName");
    txtName->setMaxLength(15);
    place(txtName, 60, 360, 2895, 315);
    Label1[0]->setBuddy(txtName);

    Label1[1] = new QLabel("&Position", this);
    Label1[1]->setObjectName("Label1_1");
    place(Label1[1], 3120, 60, 675, 195);
    cboPosition = new QComboBox(this);
    cboPosition->setObjectName("cboPosition");
    cboPosition->setEditable(false);
    place(cboPosition, 3120, 360, 2895, 315);
    Label1[1]->setBuddy(cboPosition);

    Command1[0] = new QPushButton("&Add", this);
    Command1[0]->setObjectName("Command1_0");
    place(Command1[0], 900, 780, 1215, 435);
    Command1[0]->setDefault(true);
    Command1[1] = new QPushButton("&Cancel", this);
    Command1[1]->setObjectName("Command1_1");
    place(Command1[1], 3960, 780, 1215, 435);
    for (int i = 0; i < 2; ++i)
        connect(Command1[static_cast<std::size_t>(i)], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });

    growToText(Label1[0]);
    growToText(Label1[1]);

    QWidget::setTabOrder(txtName, cboPosition);
    QWidget::setTabOrder(cboPosition, Command1[0]);
    QWidget::setTabOrder(Command1[0], Command1[1]);

    Form_Load();
}

void Form1::Form_Load() {
    centreOnScreen(this);
    ISettingsStore& store = settings_.store();
    for (int n = 1; n <= kFavoriteSlots; ++n)
        cboPosition->addItem(
            QString::fromStdString(positionEntry(n, GetSetting(store, kFavorites, favoriteNameKey(n), "Empty"))));
    cboPosition->setCurrentIndex(0);
    txtName->setFocus();
}

void Form1::Command1_Click(int Index) {
    if (Index != 0) {
        reject();
        return;
    }
    if (!addFavorite(settings_, prompts_, cboPosition->currentIndex() + 1, txtName->text().toStdString(), folder_)) {
        txtName->setFocus();
        return;
    }
    if (added_) added_();
    accept();
}

void Form1::keyPressEvent(QKeyEvent* event) {
    // Esc presses the Cancel button.
    if (!escapeClicks(event, Command1[1])) QDialog::keyPressEvent(event);
}

}  // namespace farsend
