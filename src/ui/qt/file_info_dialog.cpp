#include "ui/qt/file_info_dialog.h"

#include "ui/qt/owner_sized_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora::ui {
namespace {

QLabel* valueField(int controlId, const std::u16string& text, QWidget* parent) {
    auto* field = new QLabel(QString::fromStdU16String(text), parent);
    field->setObjectName(QStringLiteral("field%1").arg(controlId));
    field->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    field->setWordWrap(false);
    field->setTextFormat(Qt::PlainText);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long folder path is cut at the dialog's edge instead of widening it.
    field->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return field;
}

} // namespace

FileInfo describeFile(const std::u16string& path, int32_t imageWidth, int32_t imageHeight,
                      int currentIndex, int entryCount) {
    FileInfo info{path, imageWidth, imageHeight, currentIndex, entryCount, std::nullopt};
    if (!path.empty()) {
        if (const auto found = platform::findFile(path)) {
            info.file = FileFacts{found->size, found->lastWrite};
        }
    }
    return info;
}

FileInfoDialog::FileInfoDialog(const FileInfo& info, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fileInfoDialog"));
    setWindowTitle(QStringLiteral("ファイル情報"));

    const FileInfoTexts texts = formatFileInfo(info);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(QStringLiteral("ファイル名"), valueField(1020, texts.fileName, this));
    form->addRow(QStringLiteral("大きさ"), valueField(1021, texts.dimensions, this));
    form->addRow(QStringLiteral("サイズ"), valueField(1023, texts.size, this));
    form->addRow(QStringLiteral("更新日"), valueField(1022, texts.modified, this));
    form->addRow(QStringLiteral("フォルダ"), valueField(1024, texts.folder, this));
    form->addRow(QStringLiteral("位置/数"), valueField(1025, texts.position, this));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    finishOwnerSizedDialog(*this, *layout);
}

int showFileInfoDialog(const FileInfo& info, QWidget* parent) {
    FileInfoDialog dialog(info, parent);
    return dialog.exec();
}

} // namespace velmora::ui
