#include "widgets/colourchooser.h"

#include <QColorDialog>
#include <utility>

#include "widgets/colourvalue.h"

namespace {
ColourChooser& Chooser() {
    static ColourChooser chooser;
    return chooser;
}
}  // namespace

std::optional<int> ChooseColour(QWidget* parent, int initial) {
    if (Chooser()) return Chooser()(parent, initial);
    const QColor chosen = QColorDialog::getColor(ColourFromValue(initial), parent);
    if (!chosen.isValid()) return std::nullopt;
    return ValueFromColour(chosen);
}

ColourChooser SetColourChooser(ColourChooser chooser) { return std::exchange(Chooser(), std::move(chooser)); }
