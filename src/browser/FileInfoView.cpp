#include "browser/FileInfoView.h"

#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int iconSize = 128;
}

FileInfoView::FileInfoView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(tr("File information"));
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    m_icon = addLabel(QStringLiteral("fileIcon"), tr("File icon"));
    m_name = addLabel(QStringLiteral("fileName"), tr("File name"));
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);
    m_name->setWordWrap(true);
    m_name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_size = addLabel(QStringLiteral("fileSize"), tr("File size"));
    m_type = addLabel(QStringLiteral("fileType"), tr("File type"));
    layout->addStretch();
}

QLabel* FileInfoView::addLabel(const QString& objectName, const QString& accessibleName)
{
    auto* label = new QLabel(this);
    label->setObjectName(objectName);
    label->setAccessibleName(accessibleName);
    label->setAlignment(Qt::AlignCenter);
    layout()->addWidget(label);
    return label;
}

void FileInfoView::setFileInfo(const QIcon& icon, const QString& name, const QString& size,
                               const QString& type)
{
    m_icon->setPixmap(icon.pixmap(iconSize, iconSize));
    m_name->setText(name);
    m_size->setText(size);
    m_size->setVisible(!size.isEmpty());
    m_type->setText(type);
    m_type->setVisible(!type.isEmpty());
}
