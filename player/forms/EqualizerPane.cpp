#include "player/forms/EqualizerPane.h"

#include "base/SettingsStore.h"
#include "framework/ControlId.h"
#include "player/forms/BandGainAccessible.h"
#include "player/forms/ReportedPosition.h"
#include "resources/ResourceIds.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTextEdit>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

constexpr const char* kEqualizer = "Equalizer";

// The band's gain that a slider position stands for.
QString gainText(const QSlider* slider) { return QString::number(-slider->value()); }

} // namespace

EqualizerPane::EqualizerPane(SettingsStore& settings, Apply apply, QWidget* parent)
    : QGroupBox(QStringLiteral("Equalizer"), parent), settings_(settings), apply_(std::move(apply)) {
    enableBox_ = new QCheckBox(QStringLiteral("Enable"), this);
    ControlId::set(enableBox_, IDC_EQUALIZER);
    auto* sliders = new QHBoxLayout;
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        sliders_[i] = createSlider(EqualizerTable::sliders()[i]);
        sliders_[i]->setAccessibleName(QStringLiteral("Equalizer band %1").arg(i + 1));
        sliders->addWidget(sliders_[i]);
    }
    auto* buttons = new QHBoxLayout;
    const std::array<std::pair<QString, int>, 3> presets = {
        {{QStringLiteral("Load"), 1097}, {QStringLiteral("Save"), 1098}, {QStringLiteral("Reset"), 1099}}};
    const std::array<void (EqualizerPane::*)(), 3> actions = {&EqualizerPane::load, &EqualizerPane::save,
                                                              &EqualizerPane::reset};
    for (std::size_t i = 0; i < presets.size(); ++i) {
        auto* button = new QPushButton(presets[i].first, this);
        ControlId::set(button, presets[i].second);
        connect(button, &QPushButton::clicked, this, actions[i]);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(enableBox_);
    layout->addLayout(sliders, 1);
    // Room for the value label below the knobs.
    layout->addSpacing(22);
    layout->addLayout(buttons);
    createValueLabel();
    connectControls();
}

QSlider* EqualizerPane::createSlider(const EqualizerTable::Slider& band) {
    auto* slider = new QSlider(Qt::Vertical, this);
    ControlId::set(slider, band.controlId);
    // Positions grow downwards: the top end is the negative one, and raises its bands.
    slider->setInvertedAppearance(true);
    slider->setInvertedControls(true);
    slider->setRange(-band.range, band.range);
    BandGainAccessible::mark(slider);
    slider->setMinimumHeight(90);
    slider->installEventFilter(this);
    return slider;
}

void EqualizerPane::createValueLabel() {
    valueLabel_ = new QTextEdit(this);
    valueLabel_->setObjectName(QStringLiteral("equalizerValue"));
    valueLabel_->setReadOnly(true);
    valueLabel_->setAccessibleName(QStringLiteral("Equalizer value"));
    valueLabel_->setFrameShape(QFrame::NoFrame);
    valueLabel_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    valueLabel_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    valueLabel_->document()->setDocumentMargin(0);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(7.5);
    font.setBold(true);
    valueLabel_->setFont(font);
    valueLabel_->setFixedSize(32, 18);
    valueLabel_->hide();
}

void EqualizerPane::connectControls() {
    connect(enableBox_, &QCheckBox::clicked, this, &EqualizerPane::toggle);
    for (QSlider* slider : sliders_) {
        connect(slider, &QSlider::valueChanged, this, [this, slider] { onMoved(slider); });
        connect(slider, &QSlider::sliderMoved, this, [this, slider] { showTip(slider); });
    }
}

EqualizerTable::Positions EqualizerPane::positions() const {
    EqualizerTable::Positions positions{};
    for (std::size_t i = 0; i < positions.size(); ++i) positions[i] = sliders_[i]->value();
    return positions;
}

void EqualizerPane::apply() {
    if (on_)
        apply_(EqualizerTable::build(positions()));
    else
        apply_(std::nullopt);
}

void EqualizerPane::showFlag() {
    const QSignalBlocker quiet(enableBox_);
    enableBox_->setChecked(on_);
}

void EqualizerPane::toggle() {
    on_ = !on_;
    apply();
    showFlag();
}

void EqualizerPane::load() {
    on_ = settings_.getInt(kEqualizer, "Enable", 0) != 0;
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        const QSignalBlocker quiet(sliders_[i]);
        // The slider clamps a stored value outside its range; the clamped value is applied.
        sliders_[i]->setValue(settings_.getInt(kEqualizer, EqualizerTable::sliders()[i].settingsKey, 0));
    }
    showFlag();
    apply();
}

void EqualizerPane::save() {
    for (std::size_t i = 0; i < sliders_.size(); ++i)
        settings_.writeInt(kEqualizer, EqualizerTable::sliders()[i].settingsKey, sliders_[i]->value());
    settings_.writeInt(kEqualizer, "Enable", on_ ? 1 : 0);
}

void EqualizerPane::reset() {
    for (QSlider* slider : sliders_) {
        const QSignalBlocker quiet(slider);
        slider->setValue(0);
    }
    apply();
}

void EqualizerPane::showOn(bool on) {
    on_ = on;
    showFlag();
}

void EqualizerPane::showPositions(const EqualizerTable::Positions& positions) {
    for (std::size_t i = 0; i < positions.size(); ++i) showReportedPosition(sliders_[i], positions[i]);
}

void EqualizerPane::onMoved(QSlider* slider) {
    apply();
    if (slider->isSliderDown()) showTip(slider);
}

void EqualizerPane::showTip(QSlider* slider) {
    const QString text = gainText(slider);
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.upsideDown = slider->invertedAppearance() == (slider->orientation() == Qt::Horizontal);
    const QRect knob = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
    QToolTip::showText(slider->mapToGlobal(knob.topRight()), text, slider);
    // The value label sits below the slider it shows.
    valueLabel_->setPlainText(text);
    valueLabel_->setAlignment(Qt::AlignCenter);
    const QPoint below = slider->mapTo(this, QPoint(slider->width() / 2, slider->height()));
    valueLabel_->move(below.x() - valueLabel_->width() / 2, below.y() + 2);
    valueLabel_->show();
    valueLabel_->raise();
}

bool EqualizerPane::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        for (QSlider* slider : sliders_) {
            if (watched != slider) continue;
            // The tip shows the band's gain at the time it is asked for.
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), gainText(slider), slider);
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}
