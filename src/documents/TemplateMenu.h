// The template menu of the administration window as operations: open a data-folder
// template for editing in the desktop's program for it, and put a template back to its
// built-in form. The window builds the menu from kTemplateMenu and calls these with the
// item that was clicked.
#pragma once

#include <QString>

#include <array>

namespace focaris {

class Ui;

struct TemplateMenuItem {
    const char *submenu;     // parent entry, or empty for an entry of the menu itself
    const char *caption;     // the entry holding the two items below
    const char *editItem;    // object name of the item "Modifica modelul"
    const char *resetItem;   // object name of the item "Refa modelul initial"
    const char *file;        // the template's file in the data folder
    const char *messageName; // how the messages name the template
};

inline constexpr const char *kEditItemCaption = "Modifica modelul";
inline constexpr const char *kResetItemCaption = "Refa modelul initial";

inline constexpr std::array<TemplateMenuItem, 9> kTemplateMenu{{
    {"Model Cerere", "Forma completa", "EditCerere", "RefaCerere", "ModCerere.rtf", "Cerere completa"},
    {"Model Cerere", "Forma prescurtata", "EditCerereS", "RefaCerereS", "ModCerereS.rtf", "Cerere prescurtata"},
    {"", "Model Ancheta", "EditAnch", "RefaAnch", "ModelAncheta2.rtf", "Ancheta"},
    {"", "Model Referat", "EditReferat", "RefaReferat", "Referat.rtf", "Referat"},
    {"", "Stat de plata", "EditStat", "RefaStat", "Stat.xls", "Stat de plata"},
    {"", "Model Dispozitie Unica Stabilire", "EditStabU", "RefaStabU", "StabilireU.xls", "Dispozitie Stabilire Unica"},
    {"", "Model Dispozitie Separata Stabilire", "EditStab", "RefaStab", "Stabilire.rtf", "Dispozitie Stabilire"},
    {"", "Model Dispozitie de Modificare", "EditModif", "RefaModif", "Modificare.rtf", "Dispozitie Modificare"},
    {"", "Model Dispozitie Respingere", "EditDispResp", "RefaDispResp", "Respingere.rtf", "Dispozitie Respingere"},
}};

// The entry whose edit or reset item has this object name, or null.
const TemplateMenuItem *FindTemplateMenuItem(const QString &itemName);

// Warns how to edit ("Modificare formulare"), then asks the desktop to open the template.
// The program does not wait for the editor and learns nothing about it.
void EditTemplate(Ui &ui, const QString &dataFolder, const TemplateMenuItem &item);

// After the person confirms ("Refacere model"), deletes the template and installs the
// built-in copy (and any other missing template). A template open in another program is
// left unchanged ("Initializare model"). True when the template was put back.
bool ResetTemplate(Ui &ui, const QString &dataFolder, const TemplateMenuItem &item);

} // namespace focaris
