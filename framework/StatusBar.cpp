#include "framework/StatusBar.h"

#include "framework/ControlId.h"

#include <QEvent>
#include <QLabel>

StatusBar::StatusBar(int barId, const QString& idleText, const QStringList& paneTexts, QWidget* parent)
    : QStatusBar(parent), messagePane_(new QLabel(this)), message_(idleText) {
    ControlId::set(this, barId);
    setAccessibleName(QStringLiteral("Status bar"));
    // A long message must neither widen the window nor grow the bar into several lines.
    messagePane_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    messagePane_->setMinimumWidth(1);
    messagePane_->setWordWrap(false);
    messagePane_->setTextFormat(Qt::PlainText);
    messagePane_->installEventFilter(this);
    addWidget(messagePane_, 1);
    showMessageLine();
    for (const QString& text : paneTexts) {
        auto* pane = new QLabel(text, this);
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(text) + 12);
        addPermanentWidget(pane);
        panes_.push_back(pane);
    }
}

QString StatusBar::paneText(int pane) const {
    if (pane == 0) return currentMessage().isEmpty() ? message_ : currentMessage();
    if (pane < 0 || pane >= paneCount()) return {};
    return panes_[static_cast<std::size_t>(pane - 1)]->text();
}

void StatusBar::setPaneText(int pane, const QString& text) {
    if (pane == 0) {
        clearMessage();
        message_ = text;
        showMessageLine();
    } else if (pane > 0 && pane < paneCount()) {
        panes_[static_cast<std::size_t>(pane - 1)]->setText(text);
    }
}

void StatusBar::setPaneLit(int pane, bool lit) {
    if (pane > 0 && pane < paneCount()) panes_[static_cast<std::size_t>(pane - 1)]->setEnabled(lit);
}

bool StatusBar::isPaneLit(int pane) const {
    return pane > 0 && pane < paneCount() && panes_[static_cast<std::size_t>(pane - 1)]->isEnabled();
}

void StatusBar::showMessageLine() {
    QString line = message_;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    line = line.simplified();
    const QString shown = messagePane_->fontMetrics().elidedText(line, Qt::ElideRight, messagePane_->contentsRect().width());
    messagePane_->setText(shown);
    messagePane_->setToolTip(shown == message_ ? QString() : message_);
}

bool StatusBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == messagePane_ && event->type() == QEvent::Resize) showMessageLine();
    return QStatusBar::eventFilter(watched, event);
}
