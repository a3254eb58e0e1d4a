// The main window's place boxes: a place of birth per date set, completed from the atlas as it
// is typed (name, region, country); choosing one puts its zone in the zone box.
#include "app/MainWindowLayout.h"
#include "app/frmMain.h"

#include "draw/LayoutUnits.h"
#include "places/Atlas.h"
#include "session/StateFile.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>

namespace orbivex {

namespace {

// The most places the completion offers.
constexpr int kPlaceChoices = 12;

void SetGeometry(QWidget* widget, const layout::Rect& rect) {
    widget->setGeometry(LayoutUnitsToPixels(rect.left), LayoutUnitsToPixels(rect.top),
                        LayoutUnitsToPixels(rect.width), LayoutUnitsToPixels(rect.height));
}

} // namespace

void frmMain::SetUpPlaceBoxes() {
    for (int s = 0; s < NumDateSets; ++s) {
        auto* box = new QLineEdit(cmdClear[s]->parentWidget());
        box->setObjectName(QStringLiteral("txtPlace_") + QString::number(s));
        box->setPlaceholderText(QStringLiteral("Place"));
        box->setAccessibleName(QStringLiteral("Place"));
        box->setToolTip(QStringLiteral("The place: a town of the atlas (\"Lyon\", \"Springfield, "
                                       "Illinois\") or coordinates with a zone (\"46.2044N "
                                       "6.1432E Europe/Zurich\"). A town puts its zone in the "
                                       "zone box."));
        box->setMaxLength(StateFileContents::MaxPlaceLength);
        auto* model = new QStringListModel(box);
        auto* completer = new QCompleter(model, box);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        // The atlas has already matched the words; the list shows what it found.
        completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
        completer->setMaxVisibleItems(kPlaceChoices);
        // Wide enough for a town with its region and country; the box itself is narrow.
        completer->popup()->setMinimumWidth(box->fontMetrics().horizontalAdvance(
            QStringLiteral("Springfield, Massachusetts, United "
                           "States (America/New_York)")));
        box->setCompleter(completer);
        connect(box, &QLineEdit::textEdited, this,
                [this, s, model, completer](const QString& text) {
                    placeChoices_[s].clear();
                    QStringList lines;
                    if (text.trimmed().size() >= 2) {
                        placeChoices_[s] = Atlas().Search(text, kPlaceChoices);
                        for (const Place& place : placeChoices_[s]) {
                            lines.append(PlaceLine(place));
                        }
                    }
                    model->setStringList(lines);
                    if (!lines.isEmpty()) {
                        completer->complete();
                    }
                });
        connect(completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
                [this, s](const QModelIndex& index) {
                    const int row = index.row();
                    if (row >= 0 && row < placeChoices_[s].size()) {
                        const Place place = placeChoices_[s][row];
                        PlaceChosen(s, place, PlaceName(place, placeChoices_[s]));
                    }
                });
        connect(box, &QLineEdit::editingFinished, this, [this, s] { txtPlace_LostFocus(s); });
        txtPlace[s] = box;
        // Tab goes from the zone box to the place box.
        if (const qsizetype at = tabOrder_.indexOf(static_cast<QWidget*>(cboTimezone[s]));
            at >= 0) {
            tabOrder_.insert(at + 1, box);
        }
    }
    PlacePlaceBoxes();
    ShowDateSets();
}

void frmMain::PlacePlaceBoxes() {
    using namespace layout;
    // Right of the Clear buttons, where Degrees and Radians stood; they go beside the
    // aspectarian's button, under the modes they belong with.
    const int left = ClearColumn.right() + 120;
    for (int s = 0; s < NumDateSets; ++s) {
        SetGeometry(txtPlace[s],
                    {left, DateRowTopOf(s), layout::fraTransits.left - 120 - left, ControlHeight});
    }
    const int optionsLeft = layout::cmdAspectarian.right() + 240;
    const int optionWidth = (SteppingLeft - optionsLeft) / 2 + 600;
    SetGeometry(optDegrees, {optionsLeft, layout::cmdAspectarian.top, optionWidth, ControlHeight});
    SetGeometry(optRadians, {optionsLeft + optionWidth, layout::cmdAspectarian.top, optionWidth,
                             ControlHeight});
}

void frmMain::PlaceChosen(int dateSet, const Place& place, const QString& text) {
    ReadControls();
    state.places[dateSet] = {text, place};
    // The place's zone, with the history the time-zone database gives.
    SetZoneText(state.dateSets[dateSet], place.zone);
    ShowDateSet(dateSet);
    SetStatus(PlaceLine(place));
    MarkStale(dateSet);
    UpdateTitle();
}

void frmMain::txtPlace_LostFocus(int dateSet) {
    const QString text = txtPlace[dateSet]->text().trimmed();
    if (text == state.places[dateSet].text.trimmed()) {
        return;
    }
    ReadControls();
    if (text.isEmpty()) {
        state.places[dateSet] = {};
        MarkStale(dateSet);
        UpdateTitle();
        return;
    }
    // A name of the atlas, or coordinates with a zone (the zone box's, when none is written).
    QString message;
    const DateSet& set = state.dateSets[dateSet];
    const std::optional<Place> place = PlaceOfText(
        text, set.zoneName.isEmpty() ? ZoneTextOf(set, state.zones.list) : set.zoneName, message);
    if (!place) {
        state.places[dateSet] = {text, std::nullopt};
        MarkStale(dateSet);
        SetStatus(message);
        UpdateTitle();
        return;
    }
    PlaceChosen(dateSet, *place, text);
    if (!message.isEmpty()) {
        SetStatus(message); // which place the name was taken for, and how to write the others
    }
}

} // namespace orbivex
