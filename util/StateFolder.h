#pragma once

#include <QString>

// Where Tessaly keeps what must outlive a crash and a reboot but is no
// document of the user's: $XDG_STATE_HOME/tessaly (~/.local/state/tessaly) on
// Linux and the other XDG desktops, the application's local data folder
// elsewhere. Never the temporary folder, which many systems empty at boot.
QString stateFolder();
