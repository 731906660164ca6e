#include "platform/qt/foreign_window_raiser.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

namespace vantrel::platform {
namespace {

constexpr char kActiveWindowAtom[] = "_NET_ACTIVE_WINDOW";
constexpr std::uint32_t kSourcePager = 2;

xcb_atom_t ActiveWindowAtom(xcb_connection_t* connection) {
  const auto cookie =
      xcb_intern_atom(connection, 0, std::strlen(kActiveWindowAtom), kActiveWindowAtom);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  if (reply == nullptr) return XCB_ATOM_NONE;
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

}  // namespace

bool RaiseForeignWindow(std::uint64_t windowId) {
  if (windowId == 0 || windowId > UINT32_MAX) return false;
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (x11 == nullptr || x11->connection() == nullptr) return false;
  xcb_connection_t* connection = x11->connection();
  const xcb_atom_t atom = ActiveWindowAtom(connection);
  if (atom == XCB_ATOM_NONE) return false;
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = static_cast<xcb_window_t>(windowId);
  event.type = atom;
  event.data.data32[0] = kSourcePager;
  event.data.data32[1] = XCB_CURRENT_TIME;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  xcb_send_event(connection, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                 reinterpret_cast<const char*>(&event));
  xcb_flush(connection);
  return true;
}

}  // namespace vantrel::platform
