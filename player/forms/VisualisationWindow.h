#pragma once

#include "player/FeedbackSurfaceSink.h"

#include <QFrame>
#include <QImage>

#include <mutex>

// The Player's visualisation window (control 1057): shows the last picture that a feedback
// handler presented. The handlers present on the decoding thread; the picture is copied under a
// lock there and painted on the GUI thread.
class VisualisationWindow : public QFrame, public FeedbackSurfaceSink {
    Q_OBJECT
public:
    // Wide enough for all 64 spectrum bars, as high as the handlers draw by default.
    static constexpr int Width = 320;
    static constexpr int Height = 80;

    explicit VisualisationWindow(QWidget* parent = nullptr);

    void present(int width, int height, const std::vector<std::uint32_t>& pixels) override;
    // Drops the picture: the window shows its empty background until the next present.
    void clear();
    // The picture as it stands, top row first; a null image before the first present.
    QImage picture() const;
    int presents() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    mutable std::mutex mutex_;
    QImage picture_;
    int presents_ = 0;
};
