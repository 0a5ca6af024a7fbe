#include "mini/MiniViewController.h"

#include "browser/HistoryListModel.h"
#include "browser/HistoryListView.h"
#include "browser/PreviewViewController.h"
#include "controls/HighlightButton.h"
#include "controls/MySearchField.h"
#include "item/ContentIcons.h"
#include "mini/PreviewPopover.h"
#include "support/Logging.h"
#include "ui_MiniViewController.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QVBoxLayout>

// The resources live in a static library, so they are registered by hand before first use.
static void registerMiniIcons()
{
    Q_INIT_RESOURCE(mini_icons);
}

namespace {
QIcon image(const QString& name)
{
    static const bool registered = (registerMiniIcons(), true);
    Q_UNUSED(registered);
    return ContentIcons::resource(name);
}
} // namespace

MiniViewController::MiniViewController(const CategoryListViewController::Services& services,
                                       QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::MiniViewController>()), m_services(services)
{
    m_ui->setupUi(this);
    m_ui->resumeButton->setImage(image(QStringLiteral("main_window")));
    updatePinImage();
    connect(m_ui->searchField, &QLineEdit::textChanged, this,
            &MiniViewController::searchFieldValueChanged);
    connect(m_ui->pinButton, &QToolButton::clicked, this, &MiniViewController::onPinWindow);
    connect(m_ui->resumeButton, &QToolButton::clicked, this, &MiniViewController::onResumeWindow);
    m_ui->searchField->installEventFilter(this);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { window()->close(); });
    viewDidLoad();
}

MiniViewController::~MiniViewController() = default;

void MiniViewController::viewDidLoad()
{
    m_allList = addList(Category::Recents, m_ui->allListContainer);
    m_allList->setObjectName(QStringLiteral("allListViewController"));
    m_searchList = addList(Category::Search, m_ui->searchListContainer);
    m_searchList->setObjectName(QStringLiteral("searchListViewController"));
    m_ui->searchListContainer->hide();
    HistoryListModel* results = m_searchList->contents();
    connect(results, &QAbstractItemModel::modelReset, this, &MiniViewController::logResults);
    connect(results, &QAbstractItemModel::rowsInserted, this, &MiniViewController::logResults);
}

void MiniViewController::logResults() const
{
    qCDebug(lcBrowser, "mini search \"%s\": %d rows", qUtf8Printable(m_searchList->keyword()),
            m_searchList->contents()->rowCount());
}

CategoryListViewController* MiniViewController::addList(Category category, QWidget* container)
{
    auto* list = new CategoryListViewController(category, m_services, container);
    list->setPasteOrigin(PasteToApplication::Origin::MiniWindow);
    container->layout()->addWidget(list);
    list->tableView()->installEventFilter(this);
    return list;
}

CategoryListViewController* MiniViewController::visibleList() const
{
    return m_ui->allListContainer->isHidden() ? m_searchList : m_allList;
}

MySearchField* MiniViewController::searchField() const
{
    return m_ui->searchField;
}

HighlightButton* MiniViewController::pinButton() const
{
    return m_ui->pinButton;
}

// Which list shows follows the text alone.
void MiniViewController::searchFieldValueChanged()
{
    const QString text = m_ui->searchField->text();
    const bool searching = !text.isEmpty();
    m_ui->allListContainer->setHidden(searching);
    m_ui->searchListContainer->setVisible(searching);
    m_searchList->setKeyword(text);
}

void MiniViewController::previewCurrentItem()
{
    CategoryListViewController* list = visibleList();
    const PBContentPtr item = list->currentContent().value();
    if (!item)
        return;
    const QRect row = list->selectRowRect();
    const QRect anchor = row.isNull() ? QRect(mapToGlobal(QPoint()), size())
                                      : QRect(list->mapToGlobal(row.topLeft()), row.size());
    previewVC()->setPreviewContent(item);
    popover()->showBeside(window()->frameGeometry(), anchor);
}

// The pin changes the window's level and the image only; the window stays open when it loses the
// focus either way.
void MiniViewController::onPinWindow()
{
    m_pin = !m_pin;
    updatePinImage();
    QWidget* frame = window();
    const bool shown = frame->isVisible();
    frame->setWindowFlag(Qt::WindowStaysOnTopHint, m_pin);
    // Changing a window's flags hides it.
    if (shown)
        frame->show();
}

void MiniViewController::updatePinImage()
{
    m_ui->pinButton->setImage(image(m_pin ? QStringLiteral("pin_s") : QStringLiteral("pin_n")));
    const QString name = m_pin ? tr("Unpin") : tr("Pin");
    m_ui->pinButton->setAccessibleName(name);
    m_ui->pinButton->setToolTip(name);
}

void MiniViewController::onResumeWindow()
{
    if (m_resumeBlock)
        m_resumeBlock();
}

void MiniViewController::setResumeBlock(std::function<void()> block)
{
    m_resumeBlock = std::move(block);
}

PreviewViewController* MiniViewController::previewVC()
{
    if (!m_previewVC)
        m_previewVC = new PreviewViewController(m_services.webPreview);
    return m_previewVC;
}

PreviewPopover* MiniViewController::popover()
{
    if (!m_popover) {
        m_popover = new PreviewPopover(this);
        m_popover->setContentViewController(previewVC());
        m_popover->setContentSize(popoverSize);
    }
    return m_popover;
}

void MiniViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_ui->searchField->setFocus(Qt::ActiveWindowFocusReason);
    m_selectSearchOnFocus = true;
}

bool MiniViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && watched == m_ui->searchField && m_selectSearchOnFocus)
        selectLastSearch();
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (watched == m_ui->searchField)
        return fieldKeyPressed(key);
    return listKeyPressed(key);
}

// The last search is kept, ready to be typed over when the window comes back. The field's own
// handling of the focus that the window's activation gives it comes after this, and would undo
// the selection, so it is made once that is done.
void MiniViewController::selectLastSearch()
{
    m_selectSearchOnFocus = false;
    QMetaObject::invokeMethod(m_ui->searchField, &QLineEdit::selectAll, Qt::QueuedConnection);
}

bool MiniViewController::fieldKeyPressed(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Down:
        moveIntoList();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        chooseTopResult(event.modifiers().testFlag(Qt::ShiftModifier));
        return true;
    default:
        return false;
    }
}

// Enter in the field needs no Down first: the first row shown is the one meant.
void MiniViewController::chooseTopResult(bool plainText)
{
    CategoryListViewController* list = visibleList();
    list->chooseRow(0);
    list->chooseCurrentContent(plainText);
}

// Down from the field selects the list's first row (which copies it) unless a row is selected.
void MiniViewController::moveIntoList()
{
    CategoryListViewController* list = visibleList();
    list->tableView()->setFocus(Qt::TabFocusReason);
    if (!list->tableView()->selectionModel()->hasSelection())
        list->chooseRow(0);
}

bool MiniViewController::listKeyPressed(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Space:
        previewCurrentItem();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!visibleList()->currentContent().value())
            return false;
        visibleList()->chooseCurrentContent(event.modifiers().testFlag(Qt::ShiftModifier));
        return true;
    default:
        return false;
    }
}
