#include "shell/BusyIndicator.h"

#include <QPainter>

namespace {

constexpr int kSpokes = 12;
constexpr int kStepMs = 80;

}  // namespace

BusyIndicator::BusyIndicator(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
    setAccessibleName(QStringLiteral("Busy"));
    timer_.setInterval(kStepMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        step_ = (step_ + 1) % kSpokes;
        update();
    });
}

void BusyIndicator::start() {
    if (!timer_.isActive()) timer_.start();
}

void BusyIndicator::stop() {
    timer_.stop();
    step_ = 0;
    update();
}

void BusyIndicator::paintEvent(QPaintEvent*) {
    // At rest the place stays empty: a wheel standing still looks like one that turns.
    if (!isRunning()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width() / 2.0, height() / 2.0);
    const qreal outer = qMin(width(), height()) / 2.0 - 2;
    QColor color = palette().color(QPalette::WindowText);
    for (int spoke = 0; spoke < kSpokes; ++spoke) {
        // The spoke at the current step is darkest; the others fade behind it.
        const int age = (step_ - spoke + kSpokes) % kSpokes;
        color.setAlphaF(1.0 - 0.8 * age / kSpokes);
        painter.setPen(QPen(color, 2.5, Qt::SolidLine, Qt::RoundCap));
        painter.save();
        painter.rotate(360.0 * spoke / kSpokes);
        painter.drawLine(QPointF(0, -outer * 0.45), QPointF(0, -outer));
        painter.restore();
    }
}
