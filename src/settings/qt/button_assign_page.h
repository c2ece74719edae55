// Page "ボタン": which function each arrow key and each hardware button of the device has.
// The list (110) holds the four arrow keys and the buttons the shell describes; choosing a
// function in the combo box (120) gives it to the selected row.
#pragma once

#include "settings/button_rows.h"
#include "settings/qt/settings_host.h"
#include "settings/qt/settings_page.h"

#include <vector>

class QComboBox;
class QLabel;
class QTreeWidget;

namespace velmora::settings::qt {

class ButtonAssignPage : public SettingsPage {
    Q_OBJECT
  public:
    ButtonAssignPage(SettingsHost& host, QWidget* parent);

    // Gives the buttons back, stores every row's function and takes the assigned buttons over
    // again, so a button set to "<なし>" keeps its system function from now on.
    void apply() override;

    // The combo box reported a choice: index -1 or above 12 is "nothing selected"
    // (kNothingSelected).
    void functionChosen(int index);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void addRow(const QString& name, const QIcon& icon, const ButtonRow& row);
    void rowSelected();

    SettingsHost& host_;
    QLabel* chooseLabel_;
    QTreeWidget* list_;
    QLabel* assignLabel_;
    QComboBox* combo_;
    std::vector<ButtonRow> rows_;
};

} // namespace velmora::settings::qt
