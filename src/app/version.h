// The release's version, shown in the main window's caption and stamped into
// the executable's version resource.
#pragma once

#define QELMORA_VERSION_MAJOR 4
#define QELMORA_VERSION_MINOR 2
