#include "player/forms/BandGainAccessible.h"

#include <QSlider>

namespace {

constexpr const char* kBandSlider = "quarvelBandSlider";

} // namespace

BandGainAccessible::BandGainAccessible(QSlider* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

void BandGainAccessible::mark(QSlider* slider) {
    static const bool installed = (QAccessible::installFactory(&BandGainAccessible::factory), true);
    (void)installed;
    slider->setProperty(kBandSlider, true);
}

QAccessibleInterface* BandGainAccessible::factory(const QString&, QObject* object) {
    auto* slider = qobject_cast<QSlider*>(object);
    if (!slider || !slider->property(kBandSlider).toBool()) return nullptr;
    return new BandGainAccessible(slider);
}

void* BandGainAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString BandGainAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Value) return QString::number(-slider()->value());
    return QAccessibleWidget::text(kind);
}

QVariant BandGainAccessible::currentValue() const { return -slider()->value(); }

void BandGainAccessible::setCurrentValue(const QVariant& value) { slider()->setValue(-value.toInt()); }

QVariant BandGainAccessible::maximumValue() const { return -slider()->minimum(); }

QVariant BandGainAccessible::minimumValue() const { return -slider()->maximum(); }

QVariant BandGainAccessible::minimumStepSize() const { return slider()->singleStep(); }

QSlider* BandGainAccessible::slider() const { return static_cast<QSlider*>(widget()); }
