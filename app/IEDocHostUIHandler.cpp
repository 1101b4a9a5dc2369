// The browser host UI handler; see IEDocHostUIHandler.h.
#include "app/IEDocHostUIHandler.h"

#include <webkit2/webkit2.h>

namespace vantrel {

TDocHostUIHandler::~TDocHostUIHandler() {
  if (Browser_ != nullptr && HandlerId_ != 0) {
    g_signal_handler_disconnect(Browser_, HandlerId_);
    g_object_remove_weak_pointer(G_OBJECT(Browser_), reinterpret_cast<gpointer*>(&Browser_));
  }
}

void TDocHostUIHandler::Install(WebKitWebView* browser) {
  if (browser == nullptr || browser == Browser_) return;
  if (Browser_ != nullptr && HandlerId_ != 0) {
    g_signal_handler_disconnect(Browser_, HandlerId_);
    g_object_remove_weak_pointer(G_OBJECT(Browser_), reinterpret_cast<gpointer*>(&Browser_));
  }
  Browser_ = browser;
  // The weak pointer clears Browser_ when the browser goes first, so the destructor
  // never touches a destroyed widget.
  g_object_add_weak_pointer(G_OBJECT(Browser_), reinterpret_cast<gpointer*>(&Browser_));
  HandlerId_ = g_signal_connect(Browser_, "context-menu", G_CALLBACK(&TDocHostUIHandler::ContextMenuSignal), this);
}

bool TDocHostUIHandler::ShowContextMenu() {
  if (OnSuppressed) OnSuppressed();
  return true;
}

int TDocHostUIHandler::ContextMenuSignal(WebKitWebView*, WebKitContextMenu*, GdkEvent*, WebKitHitTestResult*,
                                         void* self) {
  // TRUE: the menu was handled, the browser shows none of its own.
  return static_cast<TDocHostUIHandler*>(self)->ShowContextMenu() ? TRUE : FALSE;
}

}  // namespace vantrel
