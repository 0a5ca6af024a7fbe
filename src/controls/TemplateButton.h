#pragma once

#include <QIcon>
#include <QToolButton>

// A flat button with a template image: drawn in the palette's text colour and drawn again
// whenever the palette changes. It does not light up under the pointer.
class TemplateButton : public QToolButton
{
    Q_OBJECT

public:
    explicit TemplateButton(QWidget* parent = nullptr);

    QIcon image() const { return m_image; }
    void setImage(const QIcon& image);

protected:
    void changeEvent(QEvent* event) override;
    void initStyleOption(QStyleOptionToolButton* option) const override;

private:
    void updateIcon();

    QIcon m_image;
};
