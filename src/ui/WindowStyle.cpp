#include "ui/WindowStyle.h"

#include <QStyleFactory>

namespace vt {

TWindowStyle::TWindowStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

int TWindowStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  if (metric == PM_CheckBoxLabelSpacing || metric == PM_RadioButtonLabelSpacing) return 4;
  return QProxyStyle::pixelMetric(metric, option, widget);
}

}  // namespace vt
