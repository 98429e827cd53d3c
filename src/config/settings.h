#pragma once

namespace numvex {

// Fills the settings record with the first-start values (asking before unsaved changes
// are lost among them); no settings are stored between runs, so every start is a first start.
void LoadSettings();

// Writes the whole settings record; with nothing stored between runs there is nothing to write.
void SaveSettings();

}  // namespace numvex
