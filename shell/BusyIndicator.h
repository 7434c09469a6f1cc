#pragma once

#include <QTimer>
#include <QWidget>

// A small turning wheel that runs while a page loads; at rest its place is empty.
class BusyIndicator : public QWidget {
    Q_OBJECT
public:
    explicit BusyIndicator(QWidget* parent = nullptr);

    void start();
    void stop();
    bool isRunning() const { return timer_.isActive(); }

    QSize sizeHint() const override { return {28, 28}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer timer_;
    int step_ = 0;
};
