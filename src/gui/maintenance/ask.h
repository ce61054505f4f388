#pragma once
// One way for the data-maintenance windows to show a message box and read the
// answer. The main window passes its own, through which every message of the
// program goes; on its own a window shows a plain box.

#include <QMessageBox>

#include <functional>

namespace mirkano {

// The title of the program's messages; its fourth character is the
// full-width hyphen-minus U+FF0D, not the long-vowel mark.
inline const QString kMessageTitle = QStringLiteral("メッセ－ジ");

using AskFn = std::function<QMessageBox::StandardButton(
    QMessageBox::Icon icon, const QString& title, const QString& text, QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton defaultButton)>;

// A modal box over parent; the button pressed (Escape gives the default's
// counterpart: No for Yes/No boxes).
QMessageBox::StandardButton showMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                           const QString& text, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton);

}  // namespace mirkano
