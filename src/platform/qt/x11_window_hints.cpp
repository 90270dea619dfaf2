#include "platform/qt/x11_window_hints.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace kestrafon::platform::qt {

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  if (!reply) return XCB_ATOM_NONE;
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

}  // namespace

void SkipTaskbarBeforeMap(QWidget& window) {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !x11->connection()) return;
  xcb_connection_t* connection = x11->connection();
  const auto id = xcb_window_t(window.winId());
  const xcb_atom_t state = Atom(connection, "_NET_WM_STATE");
  const xcb_atom_t wanted[] = {Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                               Atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
  if (state == XCB_ATOM_NONE) return;

  // Qt merges what is already there when it maps the window, so add ours
  // to the property, once.
  std::vector<xcb_atom_t> atoms;
  const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, id, state, XCB_ATOM_ATOM, 0, 1024);
  if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
    if (reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
      const auto* begin = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
      atoms.assign(begin, begin + xcb_get_property_value_length(reply) / int(sizeof(xcb_atom_t)));
    }
    std::free(reply);
  }
  for (const xcb_atom_t atom : wanted) {
    if (atom != XCB_ATOM_NONE && std::find(atoms.begin(), atoms.end(), atom) == atoms.end()) atoms.push_back(atom);
  }
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32, std::uint32_t(atoms.size()),
                      atoms.data());
  xcb_flush(connection);
}

}  // namespace kestrafon::platform::qt
