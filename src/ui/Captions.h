#pragma once

#include "core/LanguageTexts.h"

#include <QStringList>

class QWidget;

// Sets the captions of every row belonging to `window` (matched by its object name or class
// name) on the control of that name found inside the window, the menus' popups included but
// not other windows. Controls that do not exist are skipped. Returns what could not be set:
// the control's name when it is missing, "control.property" when it exists but has no such
// property, so that a form can be checked for completeness.
QStringList applyCaptions(QWidget *window, Language language);
