// The browser host UI handler: how the embedded browser presents its own user
// interface. Its one effect is that the browser never shows its context menu;
// keyboard shortcuts, drag and drop and everything else stay the browser's
// defaults. It holds no state of its own: the main window creates one handler and
// installs it on its browser after every completed navigation.
#pragma once

#include <functional>

typedef struct _WebKitWebView WebKitWebView;
typedef struct _WebKitContextMenu WebKitContextMenu;
typedef union _GdkEvent GdkEvent;
typedef struct _WebKitHitTestResult WebKitHitTestResult;

namespace vantrel {

class TDocHostUIHandler {
 public:
  TDocHostUIHandler() = default;
  ~TDocHostUIHandler();
  TDocHostUIHandler(const TDocHostUIHandler&) = delete;
  TDocHostUIHandler& operator=(const TDocHostUIHandler&) = delete;

  // Connects the handler to the browser's context-menu request. Installing it again
  // on the same browser changes nothing.
  void Install(WebKitWebView* browser);

  // The browser asks before it shows its context menu (right button, the menu key,
  // Shift+F10): the host handles it by showing nothing, so no menu appears.
  bool ShowContextMenu();

  // Called for every menu the handler suppressed (the window's trace uses it).
  std::function<void()> OnSuppressed;

 private:
  static int ContextMenuSignal(WebKitWebView*, WebKitContextMenu*, GdkEvent*, WebKitHitTestResult*, void* self);

  WebKitWebView* Browser_ = nullptr;
  unsigned long HandlerId_ = 0;
};

}  // namespace vantrel
