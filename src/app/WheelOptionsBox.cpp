#include "app/WheelOptionsBox.h"

#include "support/ProgramTexts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

namespace orbivex {

WheelOptionsBox::WheelOptionsBox(const ProgramTexts& texts, QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("fraWheel"));
    // A text missing from the text file leaves the English caption.
    const auto caption = [&texts](int number, const char* english) {
        return texts.HasText(number) ? texts.ProgramText(number) : QString::fromUtf8(english);
    };
    setTitle(caption(544, "Chart wheel"));
    cboWheelStyle = new QComboBox(this);
    cboWheelStyle->setObjectName(QStringLiteral("cboWheelStyle"));
    cboWheelStyle->addItem(caption(546, "Classic"), static_cast<int>(WheelStyle::Classic));
    cboWheelStyle->addItem(caption(547, "Modern"), static_cast<int>(WheelStyle::Modern));
    cboWheelTheme = new QComboBox(this);
    cboWheelTheme->setObjectName(QStringLiteral("cboWheelTheme"));
    cboWheelTheme->addItem(caption(549, "Light"), static_cast<int>(WheelTheme::Light));
    cboWheelTheme->addItem(caption(550, "Dark"), static_cast<int>(WheelTheme::Dark));
    auto* styleLabel = new QLabel(caption(545, "&Style:"), this);
    styleLabel->setBuddy(cboWheelStyle);
    auto* themeLabel = new QLabel(caption(548, "&Theme:"), this);
    themeLabel->setBuddy(cboWheelTheme);
    auto* layout = new QFormLayout(this);
    layout->addRow(styleLabel, cboWheelStyle);
    layout->addRow(themeLabel, cboWheelTheme);
    connect(cboWheelStyle, &QComboBox::activated, this, [this] { Changed(); });
    connect(cboWheelTheme, &QComboBox::activated, this, [this] { Changed(); });
}

void WheelOptionsBox::Show(WheelStyle style, WheelTheme theme) {
    cboWheelStyle->setCurrentIndex(cboWheelStyle->findData(static_cast<int>(style)));
    cboWheelTheme->setCurrentIndex(cboWheelTheme->findData(static_cast<int>(theme)));
    // The classic wheel has its own colours; the theme is kept for the modern one.
    cboWheelTheme->setEnabled(style == WheelStyle::Modern);
}

void WheelOptionsBox::Changed() {
    cboWheelTheme->setEnabled(cboWheelStyle->currentData().toInt() ==
                              static_cast<int>(WheelStyle::Modern));
    if (onChanged) {
        onChanged(static_cast<WheelStyle>(cboWheelStyle->currentData().toInt()),
                  static_cast<WheelTheme>(cboWheelTheme->currentData().toInt()));
    }
}

} // namespace orbivex
