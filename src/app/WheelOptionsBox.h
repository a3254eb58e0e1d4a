#pragma once
// The configuration window's "Chart wheel" group: the wheel's style and theme. It shows the
// working copy's values and reports a choice; the window decides when it is committed.

#include "session/WheelAppearance.h"

#include <QGroupBox>
#include <functional>

class QComboBox;

namespace orbivex {

class ProgramTexts;

class WheelOptionsBox : public QGroupBox {
  public:
    WheelOptionsBox(const ProgramTexts& texts, QWidget* parent);

    void Show(WheelStyle style, WheelTheme theme);

    // Called with the choice of either list.
    std::function<void(WheelStyle, WheelTheme)> onChanged;

    QComboBox* cboWheelStyle = nullptr;
    QComboBox* cboWheelTheme = nullptr;

  private:
    void Changed();
};

} // namespace orbivex
