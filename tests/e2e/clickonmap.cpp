// "screencheck clickonmap": the earliest click a user could make on a new
// window, to prove that the program takes no input before it is complete.
//
// Every window created on the root is watched for its structure. A window
// can become viewable in two ways: mapped on the root (no window manager),
// or mapped inside a frame that is mapped after it (a reparenting manager
// such as openbox). So at every map event all watched windows are asked, in
// one batch of requests, for their state, their title and where the click
// point lies on the screen; the first viewable one with the title gets the
// click at once.

#include "clickonmap.h"

#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

struct Connection {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    ~Connection() { xcb_disconnect(c); }
};

struct ScreenPoint {
    xcb_window_t window;
    int16_t x, y;
};

class MapWatcher {
public:
    MapWatcher(xcb_connection_t* c, std::string title, int16_t x, int16_t y)
        : c_(c), title_(std::move(title)), x_(x), y_(y) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    }

    // Watches the root for new windows; false when the display refuses
    // that or has no XTEST. Returns only once the server has taken the
    // event mask, so that no window created afterwards is missed.
    bool Start() {
        const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(c_, &xcb_test_id);
        if (!xtest || !xtest->present) {
            std::fprintf(stderr, "clickonmap: the display has no XTEST extension\n");
            return false;
        }
        const char name[] = "_NET_WM_NAME";
        Reply<xcb_intern_atom_reply_t> atom(
            xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, sizeof name - 1, name), nullptr));
        netWmName_ = atom ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        Reply<xcb_generic_error_t> error(xcb_request_check(
            c_, xcb_change_window_attributes_checked(c_, root_, XCB_CW_EVENT_MASK, &mask)));
        if (error) std::fprintf(stderr, "clickonmap: cannot watch the root window\n");
        return !error;
    }

    // Handles events until the click; false when the deadline passes first.
    bool Run(Clock::time_point deadline) {
        for (;;) {
            while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(c_)}) {
                const Clock::time_point received = Clock::now();
                switch (event->response_type & 0x7f) {
                    case XCB_CREATE_NOTIFY:
                        Watch(reinterpret_cast<xcb_create_notify_event_t*>(event.get())->window);
                        // It may have been mapped before the server took the
                        // mask, so that its map event never comes.
                        if (ClickIfViewable(received)) return true;
                        break;
                    case XCB_MAP_NOTIFY:
                        if (ClickIfViewable(received)) return true;
                        break;
                    case XCB_DESTROY_NOTIFY:
                        std::erase(
                            watched_,
                            reinterpret_cast<xcb_destroy_notify_event_t*>(event.get())->window);
                        break;
                }
            }
            if (xcb_connection_has_error(c_)) return false;
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) return false;
            pollfd fd{xcb_get_file_descriptor(c_), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(left));
        }
    }

private:
    void Watch(xcb_window_t window) {
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, window, XCB_CW_EVENT_MASK, &mask);
        watched_.push_back(window);
    }

    bool HasTitle(const xcb_get_property_reply_t* name) const {
        if (!name || name->format != 8) return false;
        const auto length = static_cast<std::size_t>(xcb_get_property_value_length(name));
        return length == title_.size() &&
               std::memcmp(xcb_get_property_value(name), title_.data(), length) == 0;
    }

    // One round trip for all watched windows: each one's state, both of its
    // titles and the click point in root coordinates.
    std::optional<ScreenPoint> ViewableTarget() {
        struct Asked {
            xcb_get_window_attributes_cookie_t state;
            xcb_get_property_cookie_t name, netName;
            xcb_translate_coordinates_cookie_t point;
        };
        std::vector<Asked> asked;
        asked.reserve(watched_.size());
        const uint32_t longest = static_cast<uint32_t>(title_.size() / 4 + 1);
        for (xcb_window_t w : watched_)
            asked.push_back(
                {xcb_get_window_attributes(c_, w),
                 xcb_get_property(c_, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0,
                                  longest),
                 xcb_get_property(c_, 0, w, netWmName_, XCB_GET_PROPERTY_TYPE_ANY, 0, longest),
                 xcb_translate_coordinates(c_, w, root_, x_, y_)});
        std::optional<ScreenPoint> found;
        for (std::size_t i = 0; i < asked.size(); ++i) {
            // Every reply is read, also after a match: xcb keeps unread ones.
            // A window destroyed meanwhile answers with errors: no replies.
            Reply<xcb_get_window_attributes_reply_t> state(
                xcb_get_window_attributes_reply(c_, asked[i].state, nullptr));
            Reply<xcb_get_property_reply_t> name(
                xcb_get_property_reply(c_, asked[i].name, nullptr));
            Reply<xcb_get_property_reply_t> netName(
                xcb_get_property_reply(c_, asked[i].netName, nullptr));
            Reply<xcb_translate_coordinates_reply_t> point(
                xcb_translate_coordinates_reply(c_, asked[i].point, nullptr));
            if (!found && state && state->map_state == XCB_MAP_STATE_VIEWABLE && point &&
                (HasTitle(name.get()) || HasTitle(netName.get())))
                found = ScreenPoint{watched_[i], point->dst_x, point->dst_y};
        }
        return found;
    }

    bool ClickIfViewable(Clock::time_point mapped) {
        const std::optional<ScreenPoint> target = ViewableTarget();
        if (!target) return false;
        xcb_test_fake_input(c_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, target->x, target->y,
                            XCB_NONE);
        xcb_test_fake_input(c_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, XCB_NONE);
        xcb_test_fake_input(c_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, XCB_NONE);
        xcb_flush(c_);
        const auto delay =
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - mapped);
        // A round trip, so that the server has taken the click before we
        // disconnect.
        Reply<xcb_get_input_focus_reply_t> sync(
            xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
        std::printf("window 0x%x viewable, click at %d %d on the screen\n", target->window,
                    target->x, target->y);
        std::printf("clicked %lld us after mapping\n", static_cast<long long>(delay.count()));
        return true;
    }

    xcb_connection_t* c_;
    std::string title_;
    int16_t x_, y_;
    xcb_window_t root_ = 0;
    xcb_atom_t netWmName_ = XCB_ATOM_NONE;
    std::vector<xcb_window_t> watched_;
};

bool ParseInt(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == 0 && value >= low && value <= high;
}

}  // namespace

int ClickOnMap(int argc, char** argv) {
    long x = 0, y = 0, seconds = 20;
    if (argc < 3 || argc > 4 || !ParseInt(argv[1], 0, INT16_MAX, x) ||
        !ParseInt(argv[2], 0, INT16_MAX, y) ||
        (argc == 4 && !ParseInt(argv[3], 1, 3600, seconds))) {
        std::fprintf(stderr, "usage: screencheck clickonmap TITLE X Y [SECONDS]\n");
        return 2;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(seconds);
    Connection connection;
    if (xcb_connection_has_error(connection.c)) {
        std::fprintf(stderr, "clickonmap: no X display\n");
        return 2;
    }
    MapWatcher watcher(connection.c, argv[0], static_cast<int16_t>(x), static_cast<int16_t>(y));
    if (!watcher.Start()) return 2;
    std::printf("ready\n");
    std::fflush(stdout);
    if (watcher.Run(deadline)) return 0;
    std::fprintf(stderr, "clickonmap: no window \"%s\" became viewable within %ld s\n", argv[0],
                 seconds);
    return 1;
}
