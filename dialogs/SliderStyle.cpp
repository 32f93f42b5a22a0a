#include "dialogs/SliderStyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionComplex>

namespace dialogs {

SliderStyle::SliderStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows"))) {}

void SliderStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control != CC_ScrollBar || !(option->state & State_HasFocus) ||
        !(option->state & State_Enabled))
        return;
    const QRect thumb = subControlRect(control, option, SC_ScrollBarSlider, widget);
    if (thumb.isEmpty())
        return;
    painter->save();
    painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter->fillRect(thumb, Qt::white);
    painter->restore();
}

} // namespace dialogs
