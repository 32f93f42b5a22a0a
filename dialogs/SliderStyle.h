#pragma once

#include <QProxyStyle>

namespace dialogs {

// The look of the level sliders: the classic "Windows" scroll bar, whose small thumb reads
// at a glance on these short bars (the desktop style's thumb fills half the bar). The
// slider that has the focus shows its thumb inverted, as the platform's focused scroll bar
// does while its thumb blinks, so the focus is seen at once.
class SliderStyle : public QProxyStyle {
    Q_OBJECT

public:
    SliderStyle();

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
};

} // namespace dialogs
