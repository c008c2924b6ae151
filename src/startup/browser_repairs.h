// One-click repairs of what hostile pages do to the browser. Each writes at
// once and reports the status of the part that matters for the current user.
#pragma once

#include "registry/module1.h"

namespace qel {

// Sets "Window Title" back under both roots; the result is that of the
// current user's write (a machine-wide write may be refused).
Status RestoreBrowserTitle(Module1& registry);
// Deletes the typed-address history; a key that is already gone is success.
Status ClearTypedUrls(Module1& registry);

}  // namespace qel
