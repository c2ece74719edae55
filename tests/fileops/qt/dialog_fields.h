// Reading, filling and pressing the controls of a dialog by their object names.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

namespace velmora::test {

inline QString fieldText(QWidget& dialog, const char* name) {
    if (auto* line = dialog.findChild<QLineEdit*>(QLatin1String(name))) {
        return line->text();
    }
    auto* body = dialog.findChild<QPlainTextEdit*>(QLatin1String(name));
    return body ? body->toPlainText() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

inline void setField(QWidget& dialog, const char* name, const QString& text) {
    if (auto* line = dialog.findChild<QLineEdit*>(QLatin1String(name))) {
        line->setText(text);
    } else if (auto* body = dialog.findChild<QPlainTextEdit*>(QLatin1String(name))) {
        body->setPlainText(text);
    }
}

inline void press(QWidget& dialog, const char* button) {
    dialog.findChild<QPushButton*>(QLatin1String(button))->click();
}

} // namespace velmora::test
