#pragma once

#include <QIcon>
#include <QToolButton>

// A flat button with an image that, by default, is a template image: drawn in the palette's text
// colour and drawn again whenever the palette changes. It does not light up under the pointer.
class TemplateButton : public QToolButton
{
    Q_OBJECT

public:
    explicit TemplateButton(QWidget* parent = nullptr);

    QIcon image() const { return m_image; }
    void setImage(const QIcon& image);

    bool useTemplateImage() const { return m_useTemplateImage; }
    // Off, the image shows its own colours.
    void setUseTemplateImage(bool useTemplateImage);

protected:
    void changeEvent(QEvent* event) override;
    void initStyleOption(QStyleOptionToolButton* option) const override;

private:
    void updateIcon();

    QIcon m_image;
    bool m_useTemplateImage = true;
};
