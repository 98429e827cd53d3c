#pragma once

namespace numvex {

// Reads the settings record. Stored settings come with the settings hive; until
// it exists there are none, so every start is a first start and gets the
// first-start values (asking before unsaved changes are lost among them).
void LoadSettings();

// Writes the whole settings record. Nothing is stored yet: see LoadSettings.
void SaveSettings();

}  // namespace numvex
