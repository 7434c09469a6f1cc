#pragma once

#include "player/EqualizerTable.h"

#include <QGroupBox>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QSlider;
class QTextEdit;
class SettingsStore;

// The Player's equalizer: the "Enable" box (1087), eight vertical band sliders (1089-1096) and
// Load, Save and Reset (1097-1099) of the one preset stored in section "Equalizer" (keys "Enable"
// and "Slider1".."Slider8", positions as the sliders hold them). Every change is applied at once
// through the apply function: the table of the eight positions while enabled, nothing while
// disabled. The sliders' tooltips and the value label below a dragged knob show a band's gain,
// the negated position.
class EqualizerPane : public QGroupBox {
    Q_OBJECT
public:
    using Apply = std::function<void(const std::optional<EqualizerTable::Bytes>& table)>;

    EqualizerPane(SettingsStore& settings, Apply apply, QWidget* parent = nullptr);

    bool isOn() const { return on_; }
    EqualizerTable::Positions positions() const;

    // The commands: Enable, Load, Save, Reset.
    void toggle();
    void load();
    void save();
    void reset();

    // What the component reports: shown, not applied again.
    void showOn(bool on);
    void showPositions(const EqualizerTable::Positions& positions);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSlider* createSlider(const EqualizerTable::Slider& band);
    void createValueLabel();
    void connectControls();
    void apply();
    void showFlag();
    void onMoved(QSlider* slider);
    void showTip(QSlider* slider);

    SettingsStore& settings_;
    Apply apply_;
    bool on_ = false;
    QCheckBox* enableBox_ = nullptr;
    std::array<QSlider*, 8> sliders_{};
    QTextEdit* valueLabel_ = nullptr;
};
