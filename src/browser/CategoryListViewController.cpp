#include "browser/CategoryListViewController.h"

#include "browser/DeliverLater.h"
#include "browser/EmptyView.h"
#include "browser/HistoryListModel.h"
#include "browser/HistoryListView.h"
#include "browser/HistoryRowDelegate.h"
#include "browser/PreviewPreparation.h"
#include "browser/RowAnimations.h"
#include "browser/RowArtworkCache.h"
#include "controls/RFOverlayScrollView.h"
#include "item/ItemPlainText.h"
#include "platform/PasteboardTypes.h"
#include "recording/PBWatcher.h"
#include "shell/Dialogs.h"
#include "shell/TimeUpdater.h"
#include "shell/Utils.h"
#include "storage/BooleanSetting.h"
#include "storage/DBManager.h"
#include "support/Logging.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPointer>
#include <QStackedLayout>
#include <QtConcurrent>

CategoryListViewController::CategoryListViewController(Category fetchCategory,
                                                       const Services& services, QWidget* parent)
    : QWidget(parent), m_services(services),
      m_contents(new HistoryListModel(fetchCategory, services.dbManager, services.artwork, this)),
      m_tableView(new HistoryListView(this)), m_emptyView(new EmptyView(this)),
      m_stack(new QStackedLayout(this))
{
    setupView();
    connectModel();
    updateEmpty();
}

CategoryListViewController::~CategoryListViewController() = default;

void CategoryListViewController::setupView()
{
    setObjectName(QStringLiteral("categoryListViewController"));
    m_tableView->setObjectName(QStringLiteral("tableView"));
    m_tableView->setAccessibleName(fetchCategory() == Category::Search ? tr("Search Results")
                                                                       : tr("History"));
    auto* rows = new HistoryRowDelegate(m_tableView);
    if (m_services.compactRows) {
        rows->setCompact(m_services.compactRows->value());
        connect(m_services.compactRows, &BooleanSetting::changed, rows,
                &HistoryRowDelegate::setCompact);
    }
    m_tableView->setItemDelegate(rows);
    m_tableView->setModel(m_contents);
    m_animations = new RowAnimations(m_tableView);
    new RFOverlayScrollView(m_tableView);
    m_emptyView->setObjectName(QStringLiteral("emptyView"));
    m_emptyView->setForSearch(fetchCategory() == Category::Search);
    m_stack->addWidget(m_tableView);
    m_stack->addWidget(m_emptyView);
    connect(&m_services.timeUpdater, &TimeUpdater::updateTime, m_tableView->viewport(),
            qOverload<>(&QWidget::update));
    m_services.timeUpdater.addViewer(m_tableView->viewport(), m_tableView->viewport()->isVisible());
    connect(m_tableView, &HistoryListView::deleteRequested, this,
            &CategoryListViewController::deleteCurrentContent);
    connect(m_tableView, &HistoryListView::markRequested, this,
            &CategoryListViewController::toggleMarked);
    connect(m_tableView, &HistoryListView::openRequested, this, [this](const QModelIndex& index) {
        Utils::openContent(contentWithRow(index.row()), window());
    });
    connect(m_tableView, &QAbstractItemView::activated, this, [this] {
        chooseCurrentContent(QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier));
    });
    m_tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tableView, &QWidget::customContextMenuRequested, this,
            &CategoryListViewController::showRowMenu);
}

// The press that opened the menu chose the row, as any press does.
void CategoryListViewController::showRowMenu(const QPoint& position)
{
    const QModelIndex index = m_tableView->indexAt(position);
    const PBContentPtr item = m_currentContent.value();
    if (!index.isValid() || !item || contentWithRow(index.row()) != item)
        return;
    const bool pastes = m_services.paste && m_services.paste->pastesFrom(m_pasteOrigin);
    QMenu menu(this);
    QAction* plain = menu.addAction(pastes ? tr("Paste as Plain Text") : tr("Copy as Plain Text"));
    plain->setEnabled(item->type() != PBContentTypeImage);
    connect(plain, &QAction::triggered, this, [this] { chooseCurrentContent(true); });
    menu.exec(m_tableView->viewport()->mapToGlobal(position));
}

void CategoryListViewController::connectModel()
{
    connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CategoryListViewController::selectionDidChange);
    connect(m_tableView, &HistoryListView::rowChosen, this,
            &CategoryListViewController::userChoseRow);
    connect(m_contents, &QAbstractItemModel::rowsInserted, this,
            &CategoryListViewController::updateEmpty);
    connect(m_contents, &QAbstractItemModel::rowsRemoved, this,
            &CategoryListViewController::updateEmpty);
    connect(m_contents, &QAbstractItemModel::modelAboutToBeReset, this,
            &CategoryListViewController::rememberSelection);
    connect(m_contents, &QAbstractItemModel::modelReset, this,
            &CategoryListViewController::restoreSelection);
}

Category CategoryListViewController::fetchCategory() const
{
    return m_contents->fetchCategory();
}

void CategoryListViewController::setKeyword(const QString& keyword)
{
    m_contents->setKeyword(keyword);
    if (fetchCategory() == Category::Search)
        m_emptyView->setKeyword(keyword);
}

QString CategoryListViewController::keyword() const
{
    return m_contents->keyword();
}

void CategoryListViewController::setAsc(bool asc)
{
    m_contents->setAsc(asc);
}

bool CategoryListViewController::asc() const
{
    return m_contents->asc();
}

PBContentPtr CategoryListViewController::contentWithRow(int row) const
{
    return m_contents->contentWithRow(row);
}

// Follows every change of the selection, the program's too; copying is the user's alone.
void CategoryListViewController::selectionDidChange()
{
    const QModelIndexList rows = m_tableView->selectionModel()->selectedRows();
    m_currentContent.set(rows.isEmpty() ? nullptr : contentWithRow(rows.first().row()));
}

void CategoryListViewController::userChoseRow(const QModelIndex& index)
{
    if (!m_currentContent.value())
        return;
    copyCurrentContent();
    m_animations->startAnimation(index);
}

void CategoryListViewController::chooseRow(int row)
{
    const QModelIndex index = m_contents->index(row);
    if (!index.isValid())
        return;
    m_tableView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    userChoseRow(index);
}

// A large item is read on a pool thread and written once it is read, unless another copy was
// asked for meanwhile: the window never waits for hundreds of megabytes.
bool CategoryListViewController::copyCurrentContent(const std::function<void()>& written)
{
    const PBContentPtr item = m_currentContent.value();
    return item && copyReading(item, item->typedPayloadsReading(), written);
}

bool CategoryListViewController::copyCurrentContentAsPlainText(const std::function<void()>& written)
{
    const PBContentPtr item = m_currentContent.value();
    auto reading = ItemPlainText::reading(item);
    return reading && copyReading(item, std::move(reading), written);
}

// An item whose payload files pass a preview's bound is read on a pool thread; the newest copy
// asked for wins.
bool CategoryListViewController::copyReading(const PBContentPtr& item,
                                             std::function<PBContent::TypedPayloads()> reading,
                                             const std::function<void()>& written)
{
    const quint64 copy = ++m_copyGeneration;
    if (payloadBytes(*item) <= PreviewPreparation::previewBytes) {
        if (!writeToClipboard(*item, reading()))
            return false;
        if (written)
            written();
        return true;
    }
    deliverLater(this, QtConcurrent::run(std::move(reading)),
                 [this, item, copy, written](const PBContent::TypedPayloads& typed) {
                     if (copy == m_copyGeneration && writeToClipboard(*item, typed) && written)
                         written();
                 });
    return true;
}

qint64 CategoryListViewController::payloadBytes(const PBContent& item)
{
    qint64 bytes = 0;
    for (const QString& path : item.dataPathArray().value_or(QStringList()))
        bytes += QFileInfo(path).size();
    return bytes;
}

bool CategoryListViewController::writeToClipboard(const PBContent& item,
                                                  const PBContent::TypedPayloads& typed)
{
    if (typed.types.isEmpty()) {
        // Writing nothing would empty the clipboard: what it holds stays, and the user learns
        // why the selection copied nothing.
        qCWarning(lcBrowser).noquote() << "no payload of item" << item.uuid() << "can be read";
        Dialogs::alert(window(), tr("The contents of this item can no longer be found."));
        return false;
    }
    m_services.watcher.writeWithoutRecording(typed.types, typed.payloads);
    return true;
}

// The window closes before the paste, so that the application it was called from gets the
// focus back; a large item is pasted once it has been read and written.
void CategoryListViewController::chooseCurrentContent(bool plainText)
{
    const bool pastes = m_services.paste && m_services.paste->pastesFrom(m_pasteOrigin);
    const auto closeAndPaste = [this, pastes] {
        if (pastes || m_pasteOrigin == PasteToApplication::Origin::MiniWindow)
            window()->close();
        if (pastes)
            m_services.paste->paste();
    };
    if (plainText)
        copyCurrentContentAsPlainText(closeAndPaste);
    else
        copyCurrentContent(closeAndPaste);
}

void CategoryListViewController::deleteCurrentContent()
{
    const PBContentPtr item = m_currentContent.value();
    if (!item)
        return;
    QPointer<CategoryListViewController> self(this);
    m_services.dbManager.deletePbContents({item}, [self] {
        if (self)
            self->m_currentContent.set(nullptr);
    });
}

void CategoryListViewController::toggleMarked(const QModelIndex& index)
{
    if (const PBContentPtr item = contentWithRow(index.row()))
        Utils::toggleMarked(m_services.dbManager, {item}, [] {});
}

void CategoryListViewController::updateEmpty()
{
    const bool empty = m_contents->rowCount() == 0;
    m_stack->setCurrentWidget(empty ? m_emptyView : static_cast<QWidget*>(m_tableView));
    if (empty != m_empty.value())
        m_empty.set(empty);
}

// A load replaces every object of the list; the row of the item that was selected is selected
// again, silently.
void CategoryListViewController::rememberSelection()
{
    const PBContentPtr current = m_currentContent.value();
    m_selectedBeforeReset = current ? current->uuid() : QString();
}

void CategoryListViewController::restoreSelection()
{
    updateEmpty();
    const QModelIndex row = m_selectedBeforeReset.isEmpty()
                                ? QModelIndex()
                                : m_contents->indexOfUuid(m_selectedBeforeReset);
    if (row.isValid())
        m_tableView->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
    else
        m_currentContent.set(nullptr);
}

QRect CategoryListViewController::selectRowRect() const
{
    const QModelIndexList rows = m_tableView->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return {};
    const QRect row = m_tableView->rowRect(rows.first());
    if (!m_tableView->viewport()->rect().intersects(row))
        return {};
    return QRect(m_tableView->viewport()->mapTo(this, row.topLeft()), row.size());
}
