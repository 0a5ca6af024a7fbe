#include "browser/RowAnimations.h"

#include "browser/HistoryListView.h"

#include <QEvent>
#include <QScrollBar>

namespace {
// The copy confirmation's own panel, which slides over the host and deletes itself when done.
void startCopyAnimationView(QWidget* host)
{
    Q_UNUSED(host);
}
} // namespace

RowAnimations::RowAnimations(HistoryListView* view) : QObject(view), m_view(view)
{
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, &RowAnimations::placeHosts);
    QAbstractItemModel* model = view->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &RowAnimations::placeHosts);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &RowAnimations::placeHosts);
    connect(model, &QAbstractItemModel::modelReset, this, &RowAnimations::placeHosts);
}

void RowAnimations::startAnimation(const QModelIndex& index)
{
    const QRect row = m_view->rowRect(index);
    if (!row.isValid() || !m_view->viewport()->rect().intersects(row))
        return;
    auto* host = new QWidget(m_view->viewport());
    host->setObjectName(QStringLiteral("animationContainer"));
    host->setAttribute(Qt::WA_TransparentForMouseEvents);
    host->setGeometry(row);
    host->show();
    m_hosts.insert(host, QPersistentModelIndex(index));
    host->installEventFilter(this);
    startCopyAnimationView(host);
    if (host->children().isEmpty())
        remove(host);
}

bool RowAnimations::eventFilter(QObject* watched, QEvent* event)
{
    auto* host = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::ChildRemoved && m_hosts.contains(host) &&
        host->children().isEmpty())
        remove(host);
    return QObject::eventFilter(watched, event);
}

void RowAnimations::placeHosts()
{
    const auto hosts = m_hosts;
    for (auto it = hosts.cbegin(); it != hosts.cend(); ++it) {
        if (!it.value().isValid())
            remove(it.key());
        else
            it.key()->setGeometry(m_view->rowRect(it.value()));
    }
}

void RowAnimations::remove(QWidget* host)
{
    m_hosts.remove(host);
    host->removeEventFilter(this);
    host->deleteLater();
}
