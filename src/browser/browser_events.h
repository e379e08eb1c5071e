// What an embedded browser tells the window that owns it, in the same terms on both ports.
//
// Which events fire when:
//  - BeforeNavigate2: before the top page or any of its frames starts a navigation, for link
//    clicks, script location changes, frame loads and the owner's own Navigate calls alike.
//    Setting `cancel` stops that navigation: nothing is requested from the server. The owner
//    cannot tell the top page from a frame (one browser does not report which).
//  - NavigateComplete2: the top page's new document has been committed (the first bytes
//    arrived and the address changed).
//  - DocumentComplete: the top page has finished loading, including its frames and images. A
//    load that a newer navigation replaced before it finished never completes.
//  The Windows control also reports NavigateComplete2 and DocumentComplete for each frame
//  (frames before their page); the Linux view reports the top page only. Owners that act on
//  "the first DocumentComplete" see the page, or one of its frames, done on either port.
//  - NewWindow: the page asks for a new window (a target="_blank" link, window.open). No
//    window is made inside the client; unless the owner cancels, a web address is handed to
//    the desktop's browser.
// Addresses are 8-bit text in the system code page (GBK), like every text of the core.
// Every event arrives on the user-interface thread, from inside the browser's own processing:
// a handler may navigate or hide the browser, but must not destroy it.
#pragma once

#include <string>

namespace mc {

class BrowserEvents {
 public:
  virtual ~BrowserEvents() = default;

  virtual void BeforeNavigate2(int /*controlId*/, const std::string& /*url*/, bool& /*cancel*/) {}
  virtual void NavigateComplete2(int /*controlId*/, const std::string& /*url*/) {}
  virtual void DocumentComplete(int /*controlId*/, const std::string& /*url*/) {}
  virtual void NewWindow(int /*controlId*/, const std::string& /*url*/, bool& /*cancel*/) {}
};

}  // namespace mc
