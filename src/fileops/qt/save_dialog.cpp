#include "fileops/qt/save_dialog.h"

#include "ui/message_box.h"
#include "ui/qt/dialog_buttons.h"
#include "ui/qt/owner_sized_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmora::fileops::qt {
namespace {

constexpr int kButtonWidth = 60;
constexpr int kBrowseButtonWidth = 30;

QRadioButton* addQuality(QHBoxLayout& row, QButtonGroup& group, const QString& text,
                         const char* objectName, int quality) {
    auto* button = new QRadioButton(text);
    button->setObjectName(QLatin1String(objectName));
    group.addButton(button, quality);
    row.addWidget(button);
    return button;
}

} // namespace

SaveDialog::SaveDialog(QWidget* owner, const SaveProposal& proposal, FolderField chooseFolder)
    : QDialog(owner), chooseFolder_(std::move(chooseFolder)), folderEdit_(new QLineEdit(this)),
      nameEdit_(new QLineEdit(this)), typeCombo_(new QComboBox(this)),
      qualities_(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("saveDialog"));
    setWindowTitle(QStringLiteral("保存"));

    QHBoxLayout* buttons = ui::addOkCancelRow(*this, kButtonWidth);
    buttons->addStretch(1);

    folderEdit_->setObjectName(QStringLiteral("folderEdit"));
    folderEdit_->setText(QString::fromStdU16String(proposal.folder));
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setObjectName(QStringLiteral("browseButton"));
    browse->setFixedWidth(kBrowseButtonWidth);
    // Whatever the chooser returns goes into the field: a cancelled chooser empties it.
    connect(browse, &QPushButton::clicked, this,
            [this] { folderEdit_->setText(QString::fromStdU16String(chooseFolder_())); });
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderEdit_, 1);
    folderRow->addWidget(browse);

    nameEdit_->setObjectName(QStringLiteral("nameEdit"));
    nameEdit_->setText(QString::fromStdU16String(proposal.baseName));

    // An editable drop-down: a typed text that is no list entry selects no type.
    typeCombo_->setObjectName(QStringLiteral("typeCombo"));
    typeCombo_->setEditable(true);
    typeCombo_->setInsertPolicy(QComboBox::NoInsert);
    typeCombo_->addItems(
        {QStringLiteral("*.JPG"), QStringLiteral("*.BMP"), QStringLiteral("*.PNG")});
    typeCombo_->setCurrentIndex(static_cast<int>(proposal.type));
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(new QLabel(QStringLiteral("タイプ"), this));
    typeRow->addWidget(typeCombo_, 1);

    auto* qualityRow = new QHBoxLayout;
    addQuality(*qualityRow, *qualities_, QStringLiteral("高"), "qualityHigh", kQualityHigh);
    addQuality(*qualityRow, *qualities_, QStringLiteral("中"), "qualityMedium", kQualityMedium);
    addQuality(*qualityRow, *qualities_, QStringLiteral("低"), "qualityLow", kQualityLow);
    if (QAbstractButton* proposed = qualities_->button(proposal.quality)) {
        proposed->setChecked(true);
    }
    qualityRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(new QLabel(QStringLiteral("保存場所"), this));
    layout->addLayout(folderRow);
    layout->addWidget(new QLabel(QStringLiteral("ファイル名"), this));
    layout->addWidget(nameEdit_);
    layout->addLayout(typeRow);
    layout->addWidget(new QLabel(QStringLiteral("※保存品質(JPGのみ)"), this));
    layout->addLayout(qualityRow);
    layout->addStretch(1);
    ui::placeOverOwner(*this);
}

std::optional<SaveChoice> SaveDialog::run() {
    exec();
    return choice_;
}

int SaveDialog::checkedQuality() const {
    const int checked = qualities_->checkedId();
    return checked < 0 ? kQualityMedium : checked;
}

void SaveDialog::accept() {
    SaveChoice choice;
    choice.type = SaveType(typeCombo_->findText(typeCombo_->currentText(), Qt::MatchExactly));
    choice.fileName = nameEdit_->text().toStdU16String();
    choice.folder = folderEdit_->text().toStdU16String();
    if (const auto refusal = acceptSaveChoice(choice)) {
        ui::showError(*refusal);
        return;
    }
    choice.quality = checkedQuality();
    choice_ = std::move(choice);
    done(1);
}

} // namespace velmora::fileops::qt
