// A sharing host for the mail and network commands: a current file, the modified flag, a
// count of save commands with the path they report written, and an owner window.
#pragma once

#include "fileops/qt/sharing_host.h"

#include <QWidget>

namespace velmora::test {

class FakeSharingHost : public fileops::qt::SharingHost {
  public:
    std::u16string currentFilePath() const override { return path; }
    bool isModified() const override { return modified; }
    std::optional<std::u16string> runSaveCommand() override {
        ++saves;
        return savedPath;
    }
    void setBusy(bool) override {}
    QWidget* dialogOwner() override { return &window; }

    std::u16string path = u"\\photos\\cat.png";
    bool modified = false;
    int saves = 0;
    std::optional<std::u16string> savedPath; // nothing: the save wrote nothing
    QWidget window;
};

} // namespace velmora::test
