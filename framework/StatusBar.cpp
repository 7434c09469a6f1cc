#include "framework/StatusBar.h"

#include "framework/ControlId.h"

#include <QLabel>

StatusBar::StatusBar(int barId, const QString& idleText, const QStringList& paneTexts, QWidget* parent)
    : QStatusBar(parent), messagePane_(new QLabel(idleText, this)) {
    ControlId::set(this, barId);
    setAccessibleName(QStringLiteral("Status bar"));
    addWidget(messagePane_, 1);
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
    if (pane == 0) return currentMessage().isEmpty() ? messagePane_->text() : currentMessage();
    if (pane < 0 || pane >= paneCount()) return {};
    return panes_[static_cast<std::size_t>(pane - 1)]->text();
}

void StatusBar::setPaneText(int pane, const QString& text) {
    if (pane == 0) {
        clearMessage();
        messagePane_->setText(text);
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
