#pragma once
// The modal colour chooser. Colours go in and out as the configuration
// stores them (0x00BBGGRR); nothing comes back when the learner cancels.

#include <functional>
#include <optional>

class QWidget;

std::optional<int> ChooseColour(QWidget* parent, int initial);

// Tests replace the chooser with a script; returns the previous chooser (an
// empty one means the platform's dialog).
using ColourChooser = std::function<std::optional<int>(QWidget* parent, int initial)>;
ColourChooser SetColourChooser(ColourChooser chooser);
