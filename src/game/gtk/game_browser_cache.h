// Emptying the cache of the game's web view: the engine keeps its HTTP cache on disk and
// decoded resources in memory, and both go, for every site, as the URL cache does on Windows.
// Cookies, storage and history stay. Nothing is reported and nothing reloads; resources are
// fetched again when the page next asks for them.
#pragma once

#include <webkit2/webkit2.h>

namespace mc::gtk {

void ClearBrowserCache(WebKitWebView* view);

}  // namespace mc::gtk
