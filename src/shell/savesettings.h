// The per-user settings that decide how saves lay out files: the layout and
// the collation locale, read into the value the model's saves take.
#pragma once

#include "model/saveoptions.h"

class SaveSettings
{
public:
    // "save.layout" ("canonical" or "preserve"; anything else counts as
    // canonical) and "save.collationLocale" (empty: the current locale).
    static SaveOptions read();
    static void setLayout(SaveLayout layout);
};
