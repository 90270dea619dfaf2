#include "platform/qt/x11_window_hints.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace kestrafon::platform::qt {

namespace {

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  if (!reply) return XCB_ATOM_NONE;
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

// The native window as it is now (the widget's own id can be stale).
xcb_window_t NativeId(QWidget& window) {
  if (!window.windowHandle()) window.winId();
  return xcb_window_t(window.windowHandle()->winId());
}

void SetAtom(std::vector<xcb_atom_t>& atoms, xcb_atom_t atom, bool wanted) {
  if (atom == XCB_ATOM_NONE) return;
  const auto at = std::find(atoms.begin(), atoms.end(), atom);
  if (wanted && at == atoms.end()) atoms.push_back(atom);
  if (!wanted && at != atoms.end()) atoms.erase(at);
}

}  // namespace

bool HaveX11WindowStates() { return Connection() != nullptr; }

void SetStatesBeforeMap(QWidget& window, bool skipTaskbar, bool above) {
  xcb_connection_t* connection = Connection();
  if (!connection) return;
  const xcb_window_t id = NativeId(window);
  const xcb_atom_t state = Atom(connection, "_NET_WM_STATE");
  if (state == XCB_ATOM_NONE) return;

  // Qt merges what is already there when it maps the window, so change
  // only our own states in the property.
  std::vector<xcb_atom_t> atoms;
  const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, id, state, XCB_ATOM_ATOM, 0, 1024);
  if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
    if (reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
      const auto* begin = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
      atoms.assign(begin, begin + xcb_get_property_value_length(reply) / int(sizeof(xcb_atom_t)));
    }
    std::free(reply);
  }
  SetAtom(atoms, Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"), skipTaskbar);
  SetAtom(atoms, Atom(connection, "_NET_WM_STATE_SKIP_PAGER"), skipTaskbar);
  SetAtom(atoms, Atom(connection, "_NET_WM_STATE_ABOVE"), above);
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32, std::uint32_t(atoms.size()),
                      atoms.data());
  xcb_flush(connection);
}

void RequestAbove(QWidget& window, bool above) {
  xcb_connection_t* connection = Connection();
  if (!connection) return;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  if (!screen) return;
  xcb_client_message_event_t message;
  std::memset(&message, 0, sizeof message);
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = NativeId(window);
  message.type = Atom(connection, "_NET_WM_STATE");
  message.data.data32[0] = above ? 1 : 0;  // _NET_WM_STATE_ADD or _REMOVE
  message.data.data32[1] = Atom(connection, "_NET_WM_STATE_ABOVE");
  message.data.data32[3] = 1;  // from an application
  xcb_send_event(connection, 0, screen->root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection);
}

}  // namespace kestrafon::platform::qt
