#pragma once

#include <QWidget>
#include <memory>

class QLineEdit;

namespace Ui {
class ShortcutCommandsView;
}

// Where Vantrel cannot bind global shortcuts: the commands that bring up its windows, each with
// a button that copies it, and where the desktop's keyboard settings take them.
class ShortcutCommandsView : public QWidget
{
    Q_OBJECT

public:
    explicit ShortcutCommandsView(QWidget* parent = nullptr);
    ~ShortcutCommandsView() override;

private:
    void copyCommand(const QLineEdit* field);

    std::unique_ptr<Ui::ShortcutCommandsView> m_ui;
};
