// The about window "Despre program".
#include "gui/shell/AboutWindow.h"

#include "gui/shell/Pictures.h"
#include "gui/widgets/DialogParts.h"
#include "shell/Startup.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

QString AboutWindow::versionLine()
{
    return QStringLiteral("versiunea  ") + QString::fromLatin1(shell::kVersionText);
}

QString AboutWindow::licenceText()
{
    return QStringLiteral("Licenta: programul este licentiat unitatii administrativ-teritoriale care il "
                          "foloseste, pentru lucrul compartimentului de asistenta sociala. Copierea si "
                          "distribuirea catre terti se fac numai cu acordul autorilor.");
}

AboutWindow::AboutWindow(QWidget *parent) : QDialog(parent, kDialogFlags)
{
    SetUpDialog(this, QStringLiteral("DespreF"), QStringLiteral("Despre program"));
    auto *icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(64, 64));
    name_ = new QLabel(QStringLiteral("Foc aris"), this);
    QFont big = name_->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    name_->setFont(big);
    version_ = Named<QLabel>(QStringLiteral("Versiune"), versionLine(), this);
    purpose_ = new QLabel(QStringLiteral("Ajutorul pentru incalzirea locuintei si suplimentul pentru energie\n"
                                         "(Legea 226/2021, H.G. 1073/2021): cereri, dispozitii, rapoarte,\n"
                                         "exporturi si salvari ale datelor."),
                          this);
    licence_ = new QLabel(licenceText(), this);
    licence_->setWordWrap(true);
    licence_->setMaximumWidth(420);
    close_ = new QPushButton(QStringLiteral("&Inchide"), this);
    close_->setDefault(true);
    auto *head = new QHBoxLayout;
    head->addWidget(icon);
    auto *titles = new QVBoxLayout;
    titles->addWidget(name_);
    titles->addWidget(version_);
    head->addLayout(titles);
    head->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(purpose_);
    layout->addWidget(licence_);
    layout->addWidget(ButtonRow(this, {close_}));
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

QString AboutWindow::text() const
{
    return name_->text() + QLatin1Char('\n') + version_->text() + QLatin1Char('\n') + purpose_->text() +
           QLatin1Char('\n') + licence_->text();
}

} // namespace focaris::gui
