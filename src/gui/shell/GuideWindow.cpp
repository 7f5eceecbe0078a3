// The guide window. An installed program shows the HTML pages its package carries (made
// from the Markdown pages at build time); otherwise it shows the Markdown pages built into
// it, under ":/ghid" with the pictures under ":/screens", the same layout as the docs
// folder, so that the relative links written in the pages work both in the repository and
// inside the program.
#include "gui/shell/GuideWindow.h"

#include "gui/widgets/DialogParts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextFragment>
#include <QVBoxLayout>

namespace focaris::gui {
namespace {

bool isHtml(const QString &name)
{
    return name.endsWith(QLatin1String(".html"));
}

// The title of a page: the title of an HTML page, the first heading of a Markdown page, or
// the file name when it has none.
QString pageTitle(const QString &resource)
{
    QFile f(resource);
    if (isHtml(resource) && f.open(QIODevice::ReadOnly)) {
        static const QRegularExpression title(QStringLiteral("<title>(.*)</title>"),
                                              QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch m = title.match(QString::fromUtf8(f.readAll()));
        if (m.hasMatch())
            return QTextDocumentFragment::fromHtml(m.captured(1)).toPlainText().trimmed();
    } else if (f.open(QIODevice::ReadOnly)) {
        while (!f.atEnd()) {
            const QString line = QString::fromUtf8(f.readLine()).trimmed();
            if (line.startsWith(QLatin1Char('#')))
                return line.section(QLatin1Char(' '), 1).trimmed();
        }
    }
    return resource.section(QLatin1Char('/'), -1);
}

} // namespace

GuideWindow::GuideWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("GuideWindow"));
    setWindowTitle(QStringLiteral("Ghidul programului"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    setModal(false);
    resize(1100, 680);

    chapters_ = new QListWidget(this);
    chapters_->setObjectName(QStringLiteral("GuideChapters"));
    chapters_->setWordWrap(true);
    chapters_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("GuideBrowser"));
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({GuideFolder()});

    auto *split = new QSplitter(this);
    split->addWidget(chapters_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 1);
    split->setSizes({260, 840});

    back_ = new QPushButton(QStringLiteral("&Inapoi"), this);
    back_->setObjectName(QStringLiteral("Back"));
    forward_ = new QPushButton(QStringLiteral("I&nainte"), this);
    home_ = new QPushButton(QStringLiteral("&Cuprins"), this);
    close_ = new QPushButton(QStringLiteral("Inc&hide"), this);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addWidget(ButtonRow(this, {close_}, ButtonsAt::Right, {home_, back_, forward_}));

    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(home_, &QPushButton::clicked, this, [this] { browser_->setSource(firstPage()); });
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &GuideWindow::followSource);
    connect(chapters_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        const QUrl page = chapters_->item(row)->data(Qt::UserRole).toUrl();
        if (browser_->source().adjusted(QUrl::RemoveFragment) != page)
            browser_->setSource(page);
    });

    fillChapters();
}

QString GuideWindow::GuideFolder()
{
    QStringList candidates;
    const QString given = qEnvironmentVariable("FOCARIS_GUIDE_DIR");
    if (!given.isEmpty())
        candidates << given;
    candidates << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/focaris/ghid");
    for (const QString &folder : candidates) {
        if (QFile::exists(folder + QStringLiteral("/index.html")))
            return QDir::cleanPath(QDir(folder).absolutePath()); // as the browser's sources are
    }
    return QStringLiteral(":/ghid");
}

namespace {

// A page of the guide's folder (a resource folder or one on disk) as the browser names it.
QUrl urlIn(const QString &folder, const QString &name)
{
    if (folder.startsWith(QLatin1Char(':')))
        return QUrl(QStringLiteral("qrc") + folder + QLatin1Char('/') + name);
    return QUrl::fromLocalFile(folder + QLatin1Char('/') + name);
}

QUrl firstPageIn(const QString &folder)
{
    return urlIn(folder,
                 folder.startsWith(QLatin1Char(':')) ? QStringLiteral("README.md") : QStringLiteral("index.html"));
}

} // namespace

QUrl GuideWindow::pageUrl(const QString &name)
{
    return urlIn(GuideFolder(), name);
}

QUrl GuideWindow::firstPage()
{
    return firstPageIn(GuideFolder());
}

void GuideWindow::fillChapters()
{
    // The pages are named so that their order is the order of the chapters; the table of
    // contents comes first.
    const QString folder = GuideFolder();
    const QString first = firstPageIn(folder).fileName();
    QStringList pages = QDir(folder).entryList({isHtml(first) ? QStringLiteral("*.html") : QStringLiteral("*.md")},
                                               QDir::Files, QDir::Name);
    pages.removeAll(first);
    pages.prepend(first);
    for (const QString &name : pages) {
        if (!QFile::exists(folder + QLatin1Char('/') + name))
            continue;
        auto *item = new QListWidgetItem(name == first ? QStringLiteral("Cuprins")
                                                       : pageTitle(folder + QLatin1Char('/') + name));
        item->setData(Qt::UserRole, urlIn(folder, name));
        chapters_->addItem(item);
    }
}

void GuideWindow::fitPictures()
{
    // The screenshots are of the whole screen: shown at their own size they would be wider
    // than the page, so each one is scaled down to the width of the text, keeping its shape.
    const int room = qMax(200, browser_->viewport()->width() - 40);
    QTextDocument *doc = browser_->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = f.charFormat().toImageFormat();
            const QVariant v = doc->resource(QTextDocument::ImageResource, QUrl(image.name()));
            QSize size = v.value<QImage>().size();
            if (size.isEmpty())
                size = v.value<QPixmap>().size();
            if (size.isEmpty())
                continue;
            const int width = qMin(room, size.width());
            if (qRound(image.width()) == width)
                continue;
            image.setWidth(width);
            image.setHeight(double(size.height()) * width / size.width());
            QTextCursor at(doc);
            at.setPosition(f.position());
            at.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
            at.setCharFormat(image);
        }
    }
}

void GuideWindow::followSource(const QUrl &source)
{
    fitPictures();
    // Keeps the chapter list on the page shown, whether it was reached by a link or a button.
    const QUrl page = source.adjusted(QUrl::RemoveFragment);
    for (int i = 0; i < chapters_->count(); ++i) {
        if (chapters_->item(i)->data(Qt::UserRole).toUrl() == page) {
            QSignalBlocker block(chapters_);
            chapters_->setCurrentRow(i);
            return;
        }
    }
}

void GuideWindow::showPage(const QUrl &page)
{
    show();
    if (browser_->source() != page)
        browser_->setSource(page,
                            isHtml(page.fileName()) ? QTextDocument::HtmlResource : QTextDocument::MarkdownResource);
    raise();
    activateWindow();
}

void GuideWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    fitPictures();
}

void ShowGuide(QWidget *parent)
{
    auto *guide = parent ? parent->findChild<GuideWindow *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!guide) {
        guide = new GuideWindow(parent);
        if (!parent)
            guide->setAttribute(Qt::WA_DeleteOnClose);
    }
    guide->showPage();
}

} // namespace focaris::gui
