// "screencheck clickonmap": the earliest click a user could make on a new
// window, to prove that the program takes no input before it is complete.
//
// The click must follow the map event within microseconds, so nothing on
// the way waits for the server: each window created on the root starts
// from the state its creation event reports and is then followed through
// its structure and property events; its title is asked for at once and
// the answer read when needed. The window is viewable once it and its
// ancestors are mapped: without a window manager that is its own map
// event; under a reparenting manager such as openbox, whose frame is a new
// window on the root and may be mapped after it, the frame's. A manager
// that nests the window deeper is not followed.

#include "clickonmap.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

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

// What the server last told about a watched window.
struct Watched {
    xcb_window_t parent = XCB_NONE;
    int x = 0, y = 0, border = 0;  // outer corner in the parent, border width
    bool mapped = false;
    uint32_t watchedFrom = 0;  // the sequence number of our request to watch it
    // WM_NAME and _NET_WM_NAME asked for, not read yet; `titled` holds the
    // answer once read: one of them is the title looked for.
    std::optional<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> asked;
    bool titled = false;
};

struct ScreenPoint {
    xcb_window_t window;
    int x, y;
};

template <typename Event>
const Event& As(const xcb_generic_event_t& event) {
    return reinterpret_cast<const Event&>(event);
}

class MapWatcher {
public:
    MapWatcher(xcb_connection_t* c, std::string title, int x, int y)
        : c_(c), title_(std::move(title)), x_(x), y_(y) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    }

    // Instead of clicking, notes when the window became viewable (Mapped).
    bool TimeOnly = false;
    Clock::time_point Mapped;

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

    // Handles events until the click. Returns 0 after a click on the
    // window with the title, 1 after one on another window or when the
    // deadline passes first.
    int Run(Clock::time_point deadline) {
        for (;;) {
            while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(c_)}) {
                const Clock::time_point received = Clock::now();
                if (!Handle(*event)) continue;
                if (const std::optional<ScreenPoint> target = Target()) {
                    if (!TimeOnly) return Click(*target, received);
                    // Timing needs no haste: the title may be read now.
                    if (Titled(windows_[target->window])) {
                        Mapped = received;
                        return 0;
                    }
                }
            }
            // Sends what the events asked for (watches, titles) at once.
            xcb_flush(c_);
            if (xcb_connection_has_error(c_)) return 1;
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) {
                std::fprintf(stderr, "clickonmap: no window \"%s\" became viewable in time\n",
                             title_.c_str());
                return 1;
            }
            pollfd fd{xcb_get_file_descriptor(c_), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(left));
        }
    }

private:
    // Follows one event; true when it may have made the window viewable.
    bool Handle(const xcb_generic_event_t& event) {
        // A manager's synthetic ConfigureNotify gives root coordinates.
        if (event.response_type & 0x80) return false;
        switch (event.response_type) {
            case XCB_CREATE_NOTIFY: {
                const auto& e = As<xcb_create_notify_event_t>(event);
                if (e.parent == root_) Watch(e.window, e.x, e.y, e.border_width);
                return false;
            }
            case XCB_MAP_NOTIFY:
                return Update(As<xcb_map_notify_event_t>(event).window,
                              [](Watched& w) { w.mapped = true; });
            case XCB_UNMAP_NOTIFY:
                Update(As<xcb_unmap_notify_event_t>(event).window,
                       [](Watched& w) { w.mapped = false; });
                return false;
            case XCB_CONFIGURE_NOTIFY: {
                const auto& e = As<xcb_configure_notify_event_t>(event);
                Update(e.window,
                       [&](Watched& w) { w.x = e.x, w.y = e.y, w.border = e.border_width; });
                return false;
            }
            case XCB_REPARENT_NOTIFY: {
                const auto& e = As<xcb_reparent_notify_event_t>(event);
                return Update(e.window, [&](Watched& w) {
                    w.parent = e.parent, w.x = e.x, w.y = e.y;
                    // Moved off the root before the server took our watch:
                    // what happened to it in its new parent since went to
                    // others, so read it.
                    if (event.full_sequence < w.watchedFrom) Reread(e.window, w);
                });
            }
            case XCB_PROPERTY_NOTIFY: {
                const auto& e = As<xcb_property_notify_event_t>(event);
                if (e.atom != XCB_ATOM_WM_NAME && e.atom != netWmName_) return false;
                return Update(e.window, [&](Watched& w) { AskTitle(e.window, w); });
            }
            case XCB_DESTROY_NOTIFY: {
                const auto found = windows_.find(As<xcb_destroy_notify_event_t>(event).window);
                if (found == windows_.end()) return false;
                DropTitleRequest(found->second);
                windows_.erase(found);
                return false;
            }
        }
        return false;
    }

    template <typename Change>
    bool Update(xcb_window_t window, Change change) {
        const auto found = windows_.find(window);
        if (found == windows_.end()) return false;
        change(found->second);
        return true;
    }

    // A new window on the root: its root events reach us from its creation
    // on, the rest (its events inside a frame, its title) once the server
    // has taken the event mask asked for here.
    void Watch(xcb_window_t window, int x, int y, int border) {
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
        Watched& w = windows_[window];
        w.watchedFrom = xcb_change_window_attributes(c_, window, XCB_CW_EVENT_MASK, &mask).sequence;
        w.parent = root_;
        w.x = x, w.y = y, w.border = border;
        AskTitle(window, w);
    }

    void DropTitleRequest(Watched& w) {
        if (!w.asked) return;
        xcb_discard_reply(c_, w.asked->first.sequence);
        xcb_discard_reply(c_, w.asked->second.sequence);
        w.asked.reset();
    }

    void AskTitle(xcb_window_t window, Watched& w) {
        DropTitleRequest(w);
        // Long enough to tell a longer title from the one looked for.
        const uint32_t words = static_cast<uint32_t>(title_.size() / 4 + 1);
        w.asked = {
            xcb_get_property(c_, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, words),
            xcb_get_property(c_, 0, window, netWmName_, XCB_GET_PROPERTY_TYPE_ANY, 0, words)};
    }

    bool IsTitle(xcb_get_property_cookie_t cookie) {
        Reply<xcb_get_property_reply_t> name(xcb_get_property_reply(c_, cookie, nullptr));
        if (!name || name->format != 8) return false;
        const auto length = static_cast<std::size_t>(xcb_get_property_value_length(name.get()));
        return length == title_.size() &&
               std::memcmp(xcb_get_property_value(name.get()), title_.data(), length) == 0;
    }

    bool Titled(Watched& w) {
        if (w.asked) {
            const bool name = IsTitle(w.asked->first), netName = IsTitle(w.asked->second);
            w.titled = name || netName;
            w.asked.reset();
        }
        return w.titled;
    }

    void Reread(xcb_window_t window, Watched& w) {
        const auto stateCookie = xcb_get_window_attributes(c_, window);
        const auto geometryCookie = xcb_get_geometry(c_, window);
        Reply<xcb_get_window_attributes_reply_t> state(
            xcb_get_window_attributes_reply(c_, stateCookie, nullptr));
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(c_, geometryCookie, nullptr));
        if (state) w.mapped = state->map_state != XCB_MAP_STATE_UNMAPPED;
        if (geometry) w.x = geometry->x, w.y = geometry->y, w.border = geometry->border_width;
    }

    // Where (x_, y_) of the window lies on the screen when the window and
    // all its ancestors are mapped; nothing when one is not, or unknown.
    std::optional<ScreenPoint> Viewable(xcb_window_t window) const {
        ScreenPoint point{window, x_, y_};
        for (xcb_window_t w = window; w != root_;) {
            const auto found = windows_.find(w);
            if (found == windows_.end() || !found->second.mapped) return std::nullopt;
            point.x += found->second.x + found->second.border;
            point.y += found->second.y + found->second.border;
            w = found->second.parent;
        }
        return point;
    }

    bool HasWatchedChild(xcb_window_t window) const {
        for (const auto& [child, w] : windows_)
            if (w.parent == window) return true;
        return false;
    }

    // The viewable window with the title and where the click lands on it.
    // A window created, titled and mapped in one go (as Qt does without a
    // window manager) is viewable before the answer about its title can
    // have come; waiting for it would hold the click for a round trip
    // while the server is busiest. So a viewable window whose title is
    // still unknown is clicked on trust, unless it is a frame (the parent
    // of a watched window), and its title checked after the click.
    std::optional<ScreenPoint> Target() {
        std::optional<ScreenPoint> trusted;
        for (auto& [window, w] : windows_) {
            const std::optional<ScreenPoint> point = Viewable(window);
            if (!point) continue;
            if (!w.asked && w.titled) return point;
            if (w.asked && !trusted && !HasWatchedChild(window)) trusted = point;
        }
        return trusted;
    }

    int Click(ScreenPoint target, Clock::time_point mapped) {
        xcb_test_fake_input(c_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_,
                            static_cast<int16_t>(target.x), static_cast<int16_t>(target.y),
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
        std::printf("window 0x%x viewable, click at %d %d on the screen\n", target.window, target.x,
                    target.y);
        if (!Titled(windows_[target.window])) {
            std::fprintf(stderr, "clickonmap: clicked window 0x%x, which is not \"%s\"\n",
                         target.window, title_.c_str());
            return 1;
        }
        std::printf("clicked %lld us after mapping\n", static_cast<long long>(delay.count()));
        return 0;
    }

    xcb_connection_t* c_;
    std::string title_;
    int x_, y_;
    xcb_window_t root_ = XCB_NONE;
    xcb_atom_t netWmName_ = XCB_ATOM_NONE;
    std::unordered_map<xcb_window_t, Watched> windows_;
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
    MapWatcher watcher(connection.c, argv[0], static_cast<int>(x), static_cast<int>(y));
    if (!watcher.Start()) return 2;
    std::printf("ready\n");
    std::fflush(stdout);
    return watcher.Run(deadline);
}

int LaunchTime(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: screencheck launch TITLE COMMAND [ARGUMENT...]\n");
        return 2;
    }
    Connection connection;
    if (xcb_connection_has_error(connection.c)) {
        std::fprintf(stderr, "launch: no X display\n");
        return 2;
    }
    MapWatcher watcher(connection.c, argv[0], 0, 0);
    watcher.TimeOnly = true;
    if (!watcher.Start()) return 2;
    const Clock::time_point started = Clock::now();
    // The command's own output goes to standard error: ours is the figure.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[1], &actions, nullptr, argv + 1, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        std::fprintf(stderr, "launch: cannot start %s\n", argv[1]);
        return 2;
    }
    const int result = watcher.Run(started + std::chrono::seconds(20));
    kill(pid, SIGKILL);  // only its start was of interest; some programs ignore an early SIGTERM
    waitpid(pid, nullptr, 0);
    if (result != 0) return result;
    std::printf("%.2f\n",
                std::chrono::duration<double, std::milli>(watcher.Mapped - started).count());
    return 0;
}
