// The desktop Ui where it meets Qt and the desktop: Qt's own texts in Romanian, and a
// document for which the desktop has no program.
#include "TestSupport.h"
#include "gui/shell/GuiUi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace focaris;
using namespace focaris::test;

namespace {

// Every text a dialog shows: its caption, labels, buttons with their tips, list entries
// and column titles.
QStringList shownTexts(QWidget *dialog)
{
    QStringList texts{dialog->windowTitle()};
    for (QLabel *l : dialog->findChildren<QLabel *>())
        texts << l->text();
    for (QAbstractButton *b : dialog->findChildren<QAbstractButton *>())
        texts << b->text() << b->toolTip();
    for (QComboBox *c : dialog->findChildren<QComboBox *>())
        for (int i = 0; i < c->count(); ++i)
            texts << c->itemText(i);
    for (QTreeView *t : dialog->findChildren<QTreeView *>())
        for (int c = 0; t->model() && c < t->model()->columnCount(); ++c)
            texts << t->model()->headerData(c, Qt::Horizontal).toString();
    texts.removeAll(QString());
    return texts;
}

TEST(DesktopUi, QtTextsAreRomanian)
{
    const QStringList english{"Look in:",
                              "Directory:",
                              "&Choose",
                              "Choose",
                              "Cancel",
                              "Files of type:",
                              "Directories",
                              "Name",
                              "Size",
                              "Type",
                              "Date Modified",
                              "Back",
                              "Forward",
                              "Parent Directory",
                              "Create New Folder",
                              "List View",
                              "Detail View"};
    TempDir tmp;
    gui::GuiUi ui;
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto *chooser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        shown = shownTexts(chooser);
        if (const QString shots = qEnvironmentVariable("FOCARIS_SCREENSHOTS"); !shots.isEmpty())
            chooser->grab().save(shots + "/alegere-director.png");
        chooser->reject();
    });
    QString folder = tmp.qpath();
    EXPECT_FALSE(ui.chooseFolder(QStringLiteral("Alegeti directorul"), folder));
    ASSERT_FALSE(shown.isEmpty());
    for (const QString &text : english)
        EXPECT_FALSE(shown.contains(text)) << text.toStdString();
    EXPECT_TRUE(shown.contains("&Alege")) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.contains("Renunt"));

    // A field's right-click menu.
    QLineEdit field;
    field.setText("text");
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList items;
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            items << a->text().section('\t', 0, 0).remove('&');
    EXPECT_EQ(items, (QStringList{"Anuleaza", "Refa", "Taie", "Copiaza", "Lipeste", "Sterge", "Selecteaza tot"}));
}

// The message and save answers scripted; the rest is the desktop Ui itself.
class ScriptedUi : public gui::GuiUi {
public:
    QStringList texts;
    MessageResult answer = MessageResult::Da;
    QString saveAs;
    MessageResult message(const QString &, const QString &text, MessageKind, MessageButtons) override
    {
        texts << text;
        return answer;
    }
    QString saveFileName(const QString &, const QString &, const QString &) override { return saveAs; }
};

TEST(DesktopUi, ADocumentWithoutAProgramIsOfferedForSavingElsewhere)
{
    TempDir tmp;
    const QString doc = tmp.qpath() + "/Dispozitie3.rtf";
    writeFile((tmp / "Dispozitie3.rtf"), "{\\rtf1 dispozitie}");
    ScriptedUi ui;
    ui.desktopOpen = [](const QString &) { return false; };
    ui.saveAs = tmp.qpath() + "/pastrata.rtf";
    EXPECT_FALSE(ui.openDocument(doc));
    EXPECT_EQ(ui.texts,
              QStringList{"Nu am gasit un program care sa deschida documentul. Il salvez in alt loc?\r" + doc});
    EXPECT_EQ(readFile(tmp / "pastrata.rtf"), "{\\rtf1 dispozitie}");

    // "&Nu" saves nothing; a desktop that opens the file asks nothing.
    ui.answer = MessageResult::Nu;
    ui.saveAs = tmp.qpath() + "/alta.rtf";
    ui.openDocument(doc);
    EXPECT_FALSE(QFileInfo::exists(ui.saveAs));
    ui.texts.clear();
    ui.desktopOpen = [](const QString &) { return true; };
    EXPECT_TRUE(ui.openDocument(doc));
    EXPECT_TRUE(ui.texts.isEmpty());
}

} // namespace
