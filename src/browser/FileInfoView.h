#pragma once

#include <QWidget>

class QIcon;
class QLabel;

// A file that has no preview of its own: its icon, name, size and type, centred.
class FileInfoView : public QWidget
{
    Q_OBJECT

public:
    explicit FileInfoView(QWidget* parent = nullptr);

    // `size` is already formatted; an empty text hides its line.
    void setFileInfo(const QIcon& icon, const QString& name, const QString& size,
                     const QString& type);

private:
    QLabel* addLabel(const QString& objectName, const QString& accessibleName);

    QLabel* m_icon;
    QLabel* m_name;
    QLabel* m_size;
    QLabel* m_type;
};
