#pragma once

#include <QIcon>
#include <QWidget>

// Shows an image as a template image (in the palette's text colour), as large as fits, centred.
class MyImageView : public QWidget
{
    Q_OBJECT

public:
    explicit MyImageView(QWidget* parent = nullptr);

    QIcon image() const { return m_image; }
    void setImage(const QIcon& image);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QIcon m_image;
};
