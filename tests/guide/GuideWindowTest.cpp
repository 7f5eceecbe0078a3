// The clerk's guide inside the program: opened from the "Utilitare" menu, a chapter link
// followed with the mouse shows that chapter and its picture, and no link of any page
// leads nowhere.
#include "GuiFixture.h"

#include "gui/shell/GuideWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/Program.h"
#include "gui/widgets/FindButton.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>

using namespace focaris;
using namespace focaris::test;
using focaris::gui::GuideWindow;

namespace {

class GuideTest : public GuiFixture {};

QStringList guidePages()
{
    return QDir(QStringLiteral(":/ghid")).entryList({QStringLiteral("*.md")}, QDir::Files, QDir::Name);
}

struct Link {
    QString target; // as written in the page
    bool picture = false;
    int position = 0; // position in the document, for clicking it
};

QVector<Link> linksOf(const QTextDocument &doc)
{
    QVector<Link> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat format = f.charFormat();
            if (format.isImageFormat())
                out.push_back({format.toImageFormat().name(), true, f.position()});
            else if (format.isAnchor() && !format.anchorHref().isEmpty())
                out.push_back({format.anchorHref(), false, f.position()});
        }
    }
    return out;
}

bool imageLoaded(QTextDocument *doc, const QString &name)
{
    const QVariant v = doc->resource(QTextDocument::ImageResource, QUrl(name));
    if (v.canConvert<QImage>() && !v.value<QImage>().isNull())
        return true;
    return v.canConvert<QPixmap>() && !v.value<QPixmap>().isNull();
}

GuideWindow *openFromMenu(gui::Program &program)
{
    gui::MainWindow &main = program.mainWindow();
    main.show();
    QAction *item = main.utilitiesMenu()->findChild<QAction *>("Guide");
    if (!item)
        return nullptr;
    item->trigger();
    return main.findChild<GuideWindow *>();
}

TEST_F(GuideTest, OpensFromTheMenuAndFollowsAChapterLinkWithItsPicture)
{
    gui::Program program(&ui);
    // The item comes just before the about window.
    QStringList items;
    for (QAction *a : program.mainWindow().utilitiesMenu()->actions())
        items << a->text();
    ASSERT_GE(items.indexOf("Despre program"), 1);
    EXPECT_EQ(items.indexOf("Ghidul programului"), items.indexOf("Despre program") - 1);

    GuideWindow *guide = openFromMenu(program);
    ASSERT_NE(guide, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(guide));
    EXPECT_EQ(guide->windowTitle(), "Ghidul programului");
    QTextBrowser *browser = guide->browser();
    EXPECT_EQ(browser->source(), GuideWindow::firstPage());
    EXPECT_TRUE(browser->toPlainText().startsWith("Ghidul programului Foc aris"));
    EXPECT_EQ(guide->chapters()->count(), guidePages().size());
    EXPECT_EQ(guide->chapters()->currentItem()->text(), "Cuprins");

    // Click the link of the chapter on the working month, as the clerk would.
    const QVector<Link> links = linksOf(*browser->document());
    auto chapter =
        std::find_if(links.begin(), links.end(), [](const Link &l) { return l.target == "03-luna-de-lucru.md"; });
    ASSERT_NE(chapter, links.end());
    QTextCursor at(browser->document());
    at.setPosition(chapter->position + 1);
    const QPoint spot = browser->cursorRect(at).center();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, spot);
    EXPECT_EQ(browser->source(), QUrl("qrc:/ghid/03-luna-de-lucru.md"));
    EXPECT_TRUE(browser->toPlainText().startsWith("Luna de lucru"));
    EXPECT_EQ(guide->chapters()->currentItem()->text(), "Luna de lucru");

    bool pictureShown = false;
    for (const Link &l : linksOf(*browser->document()))
        if (l.picture)
            pictureShown = imageLoaded(browser->document(), l.target) || pictureShown;
    EXPECT_TRUE(pictureShown);

    // "Inapoi" returns to the contents; a second opening from the menu reuses the window.
    QPushButton *back = gui::FindButton<QPushButton>(*guide, "Back");
    ASSERT_NE(back, nullptr);
    ASSERT_TRUE(back->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(browser->source(), GuideWindow::firstPage());
    browser->setSource(QUrl("qrc:/ghid/05-cereri.md"));
    EXPECT_EQ(openFromMenu(program), guide);
    EXPECT_EQ(browser->source(), GuideWindow::firstPage());
    EXPECT_EQ(program.mainWindow().findChildren<GuideWindow *>().size(), 1);
}

TEST_F(GuideTest, EveryLinkOfEveryPageLeadsToAPageOrPictureThatExists)
{
    const QStringList pages = guidePages();
    ASSERT_TRUE(pages.contains("README.md"));
    QStringList reached{"README.md"};
    QStringList broken;
    int pictures = 0;
    for (const QString &page : pages) {
        QFile f(":/ghid/" + page);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << page.toStdString();
        QTextDocument doc;
        doc.setMarkdown(QString::fromUtf8(f.readAll()));
        const QUrl base("qrc:/ghid/" + page);
        for (const Link &l : linksOf(doc)) {
            const QUrl url(l.target);
            if (url.scheme() == "http" || url.scheme() == "https" || url.scheme() == "mailto")
                continue;
            if (l.target.startsWith('#'))
                continue;
            const QUrl resolved = base.resolved(url).adjusted(QUrl::RemoveFragment);
            const QString path = ":" + resolved.path();
            if (!QFile::exists(path)) {
                broken << page + " -> " + l.target;
                continue;
            }
            if (l.picture) {
                ++pictures;
                EXPECT_FALSE(QImage(path).isNull()) << path.toStdString();
            } else if (resolved.path().startsWith("/ghid/")) {
                reached << resolved.path().mid(6);
            }
        }
    }
    EXPECT_TRUE(broken.isEmpty()) << broken.join("\n").toStdString();
    EXPECT_GT(pictures, 0);
    // Every page can be reached from another page.
    for (const QString &page : pages)
        EXPECT_TRUE(reached.contains(page)) << page.toStdString() << " is linked from no page";
}

TEST_F(GuideTest, TheInstalledHtmlPagesAreShownAndTheirLinksHold)
{
    // The HTML pages made for the package by the build, placed where an installed program
    // finds them.
    const QString html = QStringLiteral(GUIDE_HTML_DIR);
    if (!QFile::exists(html + "/index.html"))
        GTEST_SKIP() << "pandoc was not found when the build was configured";
    // Named as the installed program names it, through its own folder and "..".
    qputenv("FOCARIS_GUIDE_DIR", (html + "/../" + QFileInfo(html).fileName()).toLocal8Bit());
    struct Restore {
        ~Restore() { qunsetenv("FOCARIS_GUIDE_DIR"); }
    } restore;

    const QStringList pages = QDir(html).entryList({"*.html"}, QDir::Files, QDir::Name);
    EXPECT_EQ(pages.size(), guidePages().size());
    gui::Program program(&ui);
    GuideWindow *guide = openFromMenu(program);
    ASSERT_NE(guide, nullptr);
    QTextBrowser *browser = guide->browser();
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(QDir(html).absolutePath() + "/index.html"));
    EXPECT_TRUE(browser->toPlainText().contains("Ghidul programului Foc aris"));
    ASSERT_EQ(guide->chapters()->count(), pages.size());
    // A link followed in the page moves the chapter list along.
    const QVector<Link> links = linksOf(*browser->document());
    auto chapter =
        std::find_if(links.begin(), links.end(), [](const Link &l) { return l.target == "03-luna-de-lucru.html"; });
    ASSERT_NE(chapter, links.end());
    QTextCursor at(browser->document());
    at.setPosition(chapter->position + 1);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(at).center());
    EXPECT_EQ(browser->source().fileName(), "03-luna-de-lucru.html");
    EXPECT_EQ(guide->chapters()->currentItem()->text(), "Luna de lucru");
    // Each chapter of the list shows its page, titled as the list names it.
    for (int i = 1; i < guide->chapters()->count(); ++i) {
        guide->chapters()->setCurrentRow(i);
        const QString title = guide->chapters()->item(i)->text();
        EXPECT_TRUE(browser->toPlainText().contains(title)) << title.toStdString();
        EXPECT_NE(title, browser->source().fileName()) << "a page without title";
    }

    QStringList broken;
    int pictures = 0;
    for (const QString &page : pages) {
        QFile f(html + "/" + page);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QTextDocument doc;
        doc.setHtml(QString::fromUtf8(f.readAll()));
        for (const Link &l : linksOf(doc)) {
            const QUrl url(l.target);
            if (!url.scheme().isEmpty() || l.target.startsWith('#'))
                continue;
            const QString path = html + "/" + url.path();
            if (!QFile::exists(path) || l.target.endsWith(".md"))
                broken << page + " -> " + l.target;
            else if (l.picture)
                pictures += !QImage(path).isNull();
        }
    }
    EXPECT_TRUE(broken.isEmpty()) << broken.join("\n").toStdString();
    EXPECT_GT(pictures, 10);
}

} // namespace
