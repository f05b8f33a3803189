#pragma once
// The widget style of the program: Fusion, with check-box captions set as close
// to their boxes as the window's fixed layout was drawn for.
#include <QProxyStyle>

namespace vt {

class TWindowStyle : public QProxyStyle {
  Q_OBJECT
 public:
  TWindowStyle();
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
};

}  // namespace vt
