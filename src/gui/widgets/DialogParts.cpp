// Small pieces the document windows share.
#include "gui/documents/DialogParts.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <vector>

namespace focaris::gui {

QLineEdit *NumericEntry(const QString &objectName, QWidget *parent)
{
    auto *e = TextEntry(objectName, parent);
    e->setMaxLength(10);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*[.]?[0-9]*")), e));
    return e;
}

QLineEdit *TextEntry(const QString &objectName, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(objectName);
    return e;
}

QBoxLayout *ButtonRow(QDialog *dialog, QPushButton *main, QPushButton *cancel)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(main);
    row->addWidget(cancel);
    // Enter is handled by the fields, so that it never presses a button by itself.
    for (QPushButton *b : {main, cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}

void EnterMovesOn(std::initializer_list<QWidget *> fields, QPushButton *main)
{
    const std::vector<QWidget *> list(fields);
    for (std::size_t i = 0; i < list.size(); ++i) {
        QWidget *next = i + 1 < list.size() ? list[i + 1] : nullptr;
        auto go = [next, main] {
            if (next)
                next->setFocus();
            else
                main->click();
        };
        if (auto *edit = qobject_cast<QLineEdit *>(list[i]))
            QObject::connect(edit, &QLineEdit::returnPressed, main, go);
    }
}

} // namespace focaris::gui
