// The main window's place boxes: a place of birth per date set, completed from the atlas as it
// is typed (name, region, country); choosing one reads the date at that place.
#include "app/MainWindowLayout.h"
#include "app/frmMain.h"

#include "draw/LayoutUnits.h"
#include "places/Atlas.h"
#include "present/Messages.h"
#include "session/PlaceLookup.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <algorithm>

namespace orbivex {

namespace {

// The most places the completion offers.
constexpr int kPlaceChoices = 12;
// The longest text a place box takes: a town with its region and country, or coordinates.
constexpr int kLongestPlaceText = 200;

} // namespace

void frmMain::SetUpPlaceBoxes() {
    for (int s = 0; s < NumDateSets; ++s) {
        auto* box = new QLineEdit(controlsPage_);
        box->setObjectName(QStringLiteral("txtPlace_") + QString::number(s));
        box->setPlaceholderText(QStringLiteral("Place"));
        box->setAccessibleName(QStringLiteral("Place"));
        box->setToolTip(QStringLiteral("The place: a town of the atlas (\"Lyon\", \"Springfield, "
                                       "Illinois\") or coordinates with a zone (\"46.2044N "
                                       "6.1432E Europe/Zurich\"). A town puts its zone in the "
                                       "zone box."));
        box->setMaxLength(kLongestPlaceText);
        connect(box, &QLineEdit::textEdited, this, [this, s, box](const QString& text) {
            // The completion is made when a place is first typed, not at start-up.
            if (box->completer() == nullptr) {
                MakePlaceCompleter(s);
            }
            QCompleter* completer = box->completer();
            auto* model = static_cast<QStringListModel*>(completer->model());
            placeChoices_[s].clear();
            QStringList lines;
            if (text.trimmed().size() >= 2) {
                placeChoices_[s] = Atlas().Search(text, kPlaceChoices);
                for (const Place& place : placeChoices_[s]) {
                    lines.append(PlaceLine(place));
                }
            }
            model->setStringList(lines);
            // As wide as its longest line: the box itself is narrow.
            const QFontMetrics metrics = completer->popup()->fontMetrics();
            int widest = 0;
            for (const QString& line : lines) {
                widest = std::max(widest, metrics.horizontalAdvance(line));
            }
            completer->popup()->setMinimumWidth(widest + metrics.averageCharWidth() * 4);
            if (!lines.isEmpty()) {
                completer->complete();
            }
        });
        connect(box, &QLineEdit::editingFinished, this, [this, s] { txtPlace_LostFocus(s); });
        txtPlace[s] = box;
    }
}

void frmMain::MakePlaceCompleter(int dateSet) {
    QLineEdit* box = txtPlace[dateSet];
    auto* model = new QStringListModel(box);
    auto* completer = new QCompleter(model, box);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    // The atlas has already matched the words; the list shows what it found.
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer->setMaxVisibleItems(kPlaceChoices);
    box->setCompleter(completer);
    connect(completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this, dateSet](const QModelIndex& index) {
                const int row = index.row();
                if (row >= 0 && row < placeChoices_[dateSet].size()) {
                    const Place place = placeChoices_[dateSet][row];
                    PlaceChosen(dateSet, place, PlaceName(place, placeChoices_[dateSet]));
                }
            });
}

QString frmMain::PlaceBoxText(int dateSet) const {
    // The text typed for the place the date set holds, or the name of a place that came from
    // elsewhere (a state file, the library); a text the atlas did not find stays as typed.
    const TypedPlace& typed = typedPlaces_[dateSet];
    if (typed.place == state.places[dateSet]) {
        return typed.text;
    }
    return state.places[dateSet] ? state.places[dateSet]->name : QString();
}

void frmMain::PlaceChosen(int dateSet, const Place& place, const QString& text) {
    txtPlace[dateSet]->setModified(false); // what was typed is read now
    ReadControls();
    state.places[dateSet] = place;
    typedPlaces_[dateSet] = {text, place};
    // The date is read at the place: in its zone, with the history the time-zone database
    // gives, and in the local mean time of its longitude while the zone kept local mean time.
    ReadAtPlace(state.dateSets[dateSet], place);
    ShowDateSet(dateSet);
    SetStatus(PlaceLine(place));
    MarkStale(dateSet);
    UpdateTitle();
}

void frmMain::ForgetPlace(int dateSet, const QString& text) {
    state.places[dateSet].reset();
    state.dateSets[dateSet].placeLongitude.reset();
    typedPlaces_[dateSet] = {text, std::nullopt};
    MarkStale(dateSet);
    UpdateTitle();
}

void frmMain::txtPlace_LostFocus(int dateSet) {
    const QString text = txtPlace[dateSet]->text().trimmed();
    txtPlace[dateSet]->setModified(false);
    if (text == PlaceBoxText(dateSet).trimmed()) {
        return;
    }
    ReadControls();
    if (text.isEmpty()) {
        ForgetPlace(dateSet, text);
        return;
    }
    // A line of the completion, as choosing it with the keys leaves it in the box.
    for (const Place& choice : placeChoices_[dateSet]) {
        if (text == PlaceLine(choice)) {
            PlaceChosen(dateSet, choice, PlaceName(choice, placeChoices_[dateSet]));
            return;
        }
    }
    // A name of the atlas, or coordinates with a zone (the zone box's, when none is written).
    const DateSet& set = state.dateSets[dateSet];
    const Expected<FoundPlace, QString> found = FindPlace(
        Atlas(), text, set.zoneName.isEmpty() ? ZoneTextOf(set, state.zones.list) : set.zoneName);
    if (!found) {
        ForgetPlace(dateSet, text);
        SetStatus(found.error());
        return;
    }
    PlaceChosen(dateSet, found->place, text);
    // Which place the name was taken for, and how to write the others.
    if (const QString note = PlaceTakenNote(text, *found); !note.isEmpty()) {
        SetStatus(note);
    }
}

} // namespace orbivex
