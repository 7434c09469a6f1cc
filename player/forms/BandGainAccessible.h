#pragma once

#include <QAccessibleWidget>

class QSlider;

// What assistive tools read from an equalizer slider: the band's gain. The slider holds the
// negated gain (its top end is the negative position), so its plain accessible value would carry
// the wrong sign.
class BandGainAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit BandGainAccessible(QSlider* slider);

    // Marks a slider as a band slider; the factory answers for marked sliders only.
    static void mark(QSlider* slider);
    static QAccessibleInterface* factory(const QString& className, QObject* object);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text kind) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    QSlider* slider() const;
};
