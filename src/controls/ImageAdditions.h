#pragma once

class QImage;
class QSize;

// Additions to images.
class ImageAdditions
{
public:
    ImageAdditions() = delete;

    // `image` scaled to exactly `size` (device-independent pixels, at the image's own pixel
    // ratio) with smooth interpolation. An invalid image logs "Invalid Image" and comes back
    // unchanged.
    static QImage resize(const QImage& image, const QSize& size);
};
