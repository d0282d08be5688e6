#pragma once

// The user's default design basis for new designs, kept between runs in the
// settings file ($XDG_CONFIG_HOME/timber-joist/timber-joist.conf). Only values
// that differ from the program's defaults are stored.

#include "document/settings_file.h"
#include "engine/design_basis.h"

namespace document {

// The stored basis; a missing or unreadable value (edited by hand, say)
// keeps the program's default.
joist::DesignBasis readDesignBasis(const SettingsFile& settings);

// Stores what differs from the defaults and removes the rest.
void writeDesignBasis(SettingsFile& settings, const joist::DesignBasis& basis);

} // namespace document
