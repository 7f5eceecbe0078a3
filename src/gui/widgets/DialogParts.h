// Small pieces the document windows share: a numeric entry of up to ten characters, a
// row of two buttons that Enter never presses by itself, and Enter moving from field to
// field with the last field pressing the window's main button.
#pragma once

#include <QString>

#include <initializer_list>

class QBoxLayout;
class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;

namespace focaris::gui {

// A line edit for a number of up to ten digits and a decimal point.
QLineEdit *NumericEntry(const QString &objectName, QWidget *parent);
// A line edit with that object name.
QLineEdit *TextEntry(const QString &objectName, QWidget *parent);
// The main button and "&Renunt" (which cancels the dialog), right-aligned in a new row.
QBoxLayout *ButtonRow(QDialog *dialog, QPushButton *main, QPushButton *cancel);
// Enter in each field moves to the next; Enter in the last one clicks `main`.
void EnterMovesOn(std::initializer_list<QWidget *> fields, QPushButton *main);

} // namespace focaris::gui
