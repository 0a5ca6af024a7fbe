#include "preferences/IgnoredApplicationsView.h"

#include "platform/Pasteboard.h"
#include "platform/Workspace.h"
#include "platform/xdg/DesktopEntries.h"
#include "storage/SettingsManager.h"
#include "ui_IgnoredApplicationsView.h"

#include <QMenu>
#include <algorithm>

namespace {
constexpr int idRole = Qt::UserRole;

void addEntry(QMenu* menu, const QString& id, const QStringList& taken)
{
    QAction* action = menu->addAction(DesktopEntries::applicationIcon(id),
                                      IgnoredApplicationsView::displayName(id));
    action->setData(id);
    action->setEnabled(!taken.contains(id));
}
} // namespace

IgnoredApplicationsView::IgnoredApplicationsView(SettingsManager& settings, Pasteboard& pasteboard,
                                                 const Workspace& workspace, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_pasteboard(pasteboard), m_workspace(workspace),
      m_ui(std::make_unique<Ui::IgnoredApplicationsView>()), m_runningMenu(new QMenu(this)),
      m_installedMenu(new QMenu(this))
{
    m_ui->setupUi(this);
    m_ui->addRunningButton->setMenu(m_runningMenu);
    m_ui->addInstalledButton->setMenu(m_installedMenu);
    m_ui->ownersUnknownLabel->setVisible(!pasteboard.knowsOwners());
    // The menus are filled as they open: windows come and go, applications are installed.
    connect(m_runningMenu, &QMenu::aboutToShow, this, &IgnoredApplicationsView::fillRunningMenu);
    connect(m_installedMenu, &QMenu::aboutToShow, this,
            &IgnoredApplicationsView::fillInstalledMenu);
    for (QMenu* menu : {m_runningMenu, m_installedMenu})
        connect(menu, &QMenu::triggered, this,
                [this](QAction* action) { addApplication(action->data().toString()); });
    connect(m_ui->removeIgnoredButton, &QAbstractButton::clicked, this,
            &IgnoredApplicationsView::removeSelected);
    connect(m_ui->ignoredApplicationsList, &QListWidget::itemSelectionChanged, this, [this] {
        m_ui->removeIgnoredButton->setEnabled(
            !m_ui->ignoredApplicationsList->selectedItems().isEmpty());
    });
    showList();
}

IgnoredApplicationsView::~IgnoredApplicationsView() = default;

QLabel* IgnoredApplicationsView::titleLabel() const
{
    return m_ui->ignoredLabel;
}

QString IgnoredApplicationsView::displayName(const QString& applicationId)
{
    const QString name = DesktopEntries::applicationName(applicationId);
    return name.isEmpty() ? applicationId : name;
}

void IgnoredApplicationsView::showList()
{
    QListWidget* list = m_ui->ignoredApplicationsList;
    list->clear();
    for (const QString& id : m_settings.model().ignoredApplications()) {
        auto* item =
            new QListWidgetItem(DesktopEntries::applicationIcon(id), displayName(id), list);
        item->setData(idRole, id);
        item->setToolTip(id);
    }
    m_ui->removeIgnoredButton->setEnabled(!list->selectedItems().isEmpty());
}

void IgnoredApplicationsView::fillRunningMenu()
{
    m_runningMenu->clear();
    const QStringList taken = m_settings.model().ignoredApplications();
    const QStringList running = m_workspace.runningApplicationIds();
    for (const QString& id : running)
        addEntry(m_runningMenu, id, taken);
    if (running.isEmpty())
        m_runningMenu->addAction(tr("No windows are known here"))->setEnabled(false);
}

// Entries the desktop hides from its menus are left out, as there.
void IgnoredApplicationsView::fillInstalledMenu()
{
    m_installedMenu->clear();
    const QStringList taken = m_settings.model().ignoredApplications();
    QList<std::pair<QString, QString>> shown;
    for (const auto& [id, path] :
         DesktopEntries::allEntries(DesktopEntries::applicationFolders())) {
        const QHash<QString, QString> entry = DesktopEntries::readEntry(path);
        if (entry.value(QStringLiteral("NoDisplay")) == u"true" ||
            entry.value(QStringLiteral("Hidden")) == u"true" ||
            entry.value(QStringLiteral("Type")) != u"Application")
            continue;
        shown.append({entry.value(QStringLiteral("Name"), id), id});
    }
    std::sort(shown.begin(), shown.end(), [](const auto& a, const auto& b) {
        return QString::localeAwareCompare(a.first, b.first) < 0;
    });
    for (const auto& [name, id] : std::as_const(shown))
        addEntry(m_installedMenu, id, taken);
    if (shown.isEmpty())
        m_installedMenu->addAction(tr("No applications are installed"))->setEnabled(false);
}

void IgnoredApplicationsView::addApplication(const QString& applicationId)
{
    QStringList ids = m_settings.model().ignoredApplications();
    if (applicationId.isEmpty() || ids.contains(applicationId))
        return;
    ids.append(applicationId);
    store(ids);
}

void IgnoredApplicationsView::removeSelected()
{
    QStringList ids = m_settings.model().ignoredApplications();
    const QList<QListWidgetItem*> selected = m_ui->ignoredApplicationsList->selectedItems();
    for (const QListWidgetItem* item : selected)
        ids.removeAll(item->data(idRole).toString());
    store(ids);
}

// The clipboard leaves these owners unread from the next copy on.
void IgnoredApplicationsView::store(const QStringList& applicationIds)
{
    m_settings.model().setIgnoredApplications(applicationIds);
    m_settings.save();
    m_pasteboard.setIgnoredApplications(applicationIds);
    showList();
}
