#include "player/forms/VisualisationWindow.h"

#include <QPainter>

VisualisationWindow::VisualisationWindow(QWidget* parent) : QFrame(parent) {
    setFixedSize(Width, Height);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);
}

void VisualisationWindow::present(int width, int height, const std::vector<std::uint32_t>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return;
    // The handlers' buffers start with the bottom row: the image is turned upright here.
    QImage upright(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row) {
        const std::uint32_t* source = pixels.data() + static_cast<std::size_t>(height - 1 - row) * width;
        std::copy(source, source + width, reinterpret_cast<std::uint32_t*>(upright.scanLine(row)));
    }
    {
        std::lock_guard lock(mutex_);
        picture_ = std::move(upright);
        ++presents_;
    }
    QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
}

void VisualisationWindow::clear() {
    {
        std::lock_guard lock(mutex_);
        picture_ = QImage();
    }
    update();
}

QImage VisualisationWindow::picture() const {
    std::lock_guard lock(mutex_);
    return picture_;
}

int VisualisationWindow::presents() const {
    std::lock_guard lock(mutex_);
    return presents_;
}

void VisualisationWindow::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const QImage shown = picture();
    if (shown.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, shown);
}
