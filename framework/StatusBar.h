#pragma once

#include <QStatusBar>

#include <vector>

class QLabel;

// A status bar with panes: pane 0 stretches and carries the messages (an idle text when none is
// shown), the others are fixed panes sized by their first text, such as the "CAP", "NUM" and
// "SCRL" indicators. A message keeps to one line, cut to the pane's width; its whole text is the
// pane's tooltip.
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    StatusBar(int barId, const QString& idleText, const QStringList& paneTexts, QWidget* parent = nullptr);

    int paneCount() const { return static_cast<int>(panes_.size()) + 1; }
    // The text of the pane; pane 0 is the message pane.
    QString paneText(int pane) const;
    void setPaneText(int pane, const QString& text);
    // An unlit indicator pane shows its text greyed.
    void setPaneLit(int pane, bool lit);
    bool isPaneLit(int pane) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showMessageLine();

    QLabel* messagePane_;
    QString message_;
    std::vector<QLabel*> panes_;
};
