#include "browser/CategoryViewController.h"

#include "browser/HistoryListModel.h"
#include "browser/HistoryRowDelegate.h"
#include "browser/PreviewViewController.h"
#include "shell/Dialogs.h"
#include "shell/Utils.h"
#include "storage/DBManager.h"
#include "ui_CategoryViewController.h"

#include <QPointer>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

// Puts the child into the container, filling it edge to edge.
void pinInside(QWidget* container, QWidget* child)
{
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(child);
}

} // namespace

CategoryViewController::CategoryViewController(Category fetchCategory,
                                               const CategoryListViewController::Services& services,
                                               QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::CategoryViewController>()), m_services(services),
      m_listViewController(new CategoryListViewController(fetchCategory, services))
{
    m_ui->setupUi(this);
    setupButtons();
    pinInside(m_ui->listContainer, m_listViewController);
    m_ui->splitter->setStretchFactor(0, 0);
    m_ui->splitter->setStretchFactor(1, 1);
    m_ui->splitter->setSizes({360, 400});
    connect(m_ui->splitter, &QSplitter::splitterMoved, this, [this] {
        m_listWidth = m_ui->splitter->sizes().value(0);
        emit listWidthChanged(m_listWidth);
    });
    m_listViewController->empty().observe(
        this, [this](bool empty) { m_ui->toolsContainer->setHidden(empty); });
    m_listViewController->currentContent().observe(
        this, [this](const PBContentPtr& item) { setCurrentContent(item); });
    connect(&m_services.dbManager, &DBManager::markChanged, this, [this](const PBContentPtr& item) {
        if (m_currentContent && item && item->itemUuid() == m_currentContent->itemUuid())
            showMarked(item->marked);
    });
}

CategoryViewController::~CategoryViewController() = default;

void CategoryViewController::setupButtons()
{
    m_ui->sortButton->setImage(HistoryRowDelegate::image(QStringLiteral("sort_aes")));
    m_ui->emptyButton->setImage(HistoryRowDelegate::image(QStringLiteral("clear")));
    m_ui->copyButton->setImage(HistoryRowDelegate::image(QStringLiteral("copy")));
    m_ui->openButton->setImage(HistoryRowDelegate::image(QStringLiteral("open")));
    m_ui->deleteButton->setImage(HistoryRowDelegate::image(QStringLiteral("delete")));
    showMarked(false);
    connect(m_ui->sortButton, &QToolButton::clicked, this, &CategoryViewController::onSortButton);
    connect(m_ui->emptyButton, &QToolButton::clicked, this, &CategoryViewController::onEmptyButton);
    connect(m_ui->copyButton, &QToolButton::clicked, this, &CategoryViewController::onCopyButton);
    connect(m_ui->openButton, &QToolButton::clicked, this, &CategoryViewController::onOpenButton);
    connect(m_ui->markButton, &QToolButton::clicked, this,
            &CategoryViewController::onBookmarkButton);
    connect(m_ui->deleteButton, &QToolButton::clicked, this,
            &CategoryViewController::onDeleteButton);
}

Category CategoryViewController::fetchCategory() const
{
    return m_listViewController->fetchCategory();
}

void CategoryViewController::setKeyword(const QString& keyword)
{
    m_listViewController->setKeyword(keyword);
}

QString CategoryViewController::keyword() const
{
    return m_listViewController->keyword();
}

PreviewViewController* CategoryViewController::previewVC()
{
    if (!m_previewVC) {
        m_previewVC = new PreviewViewController(m_services.webPreview);
        pinInside(m_ui->previewContainer, m_previewVC);
    }
    return m_previewVC;
}

void CategoryViewController::setCurrentContent(const PBContentPtr& item)
{
    m_currentContent = item;
    m_ui->previewToolsContainer->setVisible(item != nullptr);
    if (item) {
        const auto type = item->type();
        m_ui->openContainer->setVisible(type == PBContentTypeFile || type == PBContentTypeURL);
        showMarked(item->marked);
    }
    previewVC()->setPreviewContent(item);
}

void CategoryViewController::showMarked(bool marked)
{
    m_ui->markButton->setImage(HistoryRowDelegate::image(marked ? QStringLiteral("bookmark_s")
                                                                : QStringLiteral("bookmark_n")));
    m_ui->markButton->setAccessibleName(marked ? tr("Unmark") : tr("Mark"));
    m_ui->markButton->setToolTip(m_ui->markButton->accessibleName());
}

int CategoryViewController::listWidth() const
{
    return m_listWidth > 0 ? m_listWidth : m_ui->splitter->sizes().value(0);
}

// A page not shown has not been laid out: the width is applied when it shows.
void CategoryViewController::setListWidth(int width)
{
    m_listWidth = width;
    if (isVisible())
        applyListWidth();
}

void CategoryViewController::applyListWidth()
{
    const int total = m_ui->splitter->width();
    if (m_listWidth > 0 && total > m_listWidth)
        m_ui->splitter->setSizes({m_listWidth, total - m_listWidth});
}

void CategoryViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    applyListWidth();
}

void CategoryViewController::onSortButton()
{
    const bool asc = !m_listViewController->asc();
    m_listViewController->setAsc(asc);
    m_ui->sortButton->setImage(
        HistoryRowDelegate::image(asc ? QStringLiteral("sort_desc") : QStringLiteral("sort_aes")));
}

void CategoryViewController::onEmptyButton()
{
    QPointer<CategoryViewController> self(this);
    Dialogs::confirm(this, clearQuestion(), tr("Cancel"), tr("Clear"), [self](bool accepted) {
        if (self && accepted)
            self->clearList();
    });
}

// Says what "Clear" will do to how many items, before the user agrees to it.
QString CategoryViewController::clearQuestion() const
{
    const HistoryListModel* contents = m_listViewController->contents();
    const int count = contents->rowCount();
    if (fetchCategory() == Category::Marked)
        return tr("Unmark %Ln items? They stay in the history.", nullptr, count);
    if (contents->anyMarked())
        return tr("Delete %Ln items? Marked items are deleted too.", nullptr, count);
    return tr("Delete %Ln items?", nullptr, count);
}

void CategoryViewController::clearList()
{
    const HistoryListModel* contents = m_listViewController->contents();
    QList<PBContentPtr> snapshot;
    snapshot.reserve(contents->rowCount());
    for (int row = 0; row < contents->rowCount(); ++row)
        snapshot.append(contents->contentWithRow(row));
    if (snapshot.isEmpty())
        return;
    // Every item of the Marked page is marked, so toggling unmarks them all and deletes none.
    if (fetchCategory() == Category::Marked)
        Utils::toggleMarked(m_services.dbManager, snapshot, [] {});
    else
        m_services.dbManager.deletePbContents(snapshot);
}

void CategoryViewController::onCopyButton()
{
    m_listViewController->copyCurrentContent();
}

void CategoryViewController::onOpenButton()
{
    Utils::openContent(m_currentContent, window());
}

void CategoryViewController::onBookmarkButton()
{
    if (m_currentContent)
        Utils::toggleMarked(m_services.dbManager, {m_currentContent}, [] {});
}

void CategoryViewController::onDeleteButton()
{
    m_listViewController->deleteCurrentContent();
}
