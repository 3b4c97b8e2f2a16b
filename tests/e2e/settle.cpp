// "screencheck settled WINDOW": returns once the program that owns WINDOW and
// the window manager (when one runs) have handled every event sent before
// the call, so that a script can check that something did NOT happen
// without waiting a fixed time.
//
// The program is asked for _NET_WM_PING, which Qt answers from its event
// loop in the order the events arrived; the window manager is asked for
// _NET_REQUEST_FRAME_EXTENTS, which it answers in its own order. Two rounds
// of both cover a reply of one to the other (the manager's close request to
// the program, the program's minimise request to the manager).

#include "settle.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeout = std::chrono::seconds(10);

struct Connection {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    ~Connection() { xcb_disconnect(c); }
};

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    auto* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// Waits for the first event that `match` accepts; false after the timeout.
template <typename Match>
bool WaitFor(xcb_connection_t* c, Match match) {
    const auto deadline = Clock::now() + kTimeout;
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const bool found = match(event);
            std::free(event);
            if (found) return true;
        }
        if (xcb_connection_has_error(c)) return false;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left.count()));
    }
}

bool IsClientMessage(const xcb_generic_event_t* event) {
    return (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE;
}

class Settler {
public:
    Settler(xcb_connection_t* c, xcb_window_t program) : c_(c), program_(program) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        protocols_ = Atom(c, "WM_PROTOCOLS");
        ping_ = Atom(c, "_NET_WM_PING");
        request_ = Atom(c, "_NET_REQUEST_FRAME_EXTENTS");
        extents_ = Atom(c, "_NET_FRAME_EXTENTS");
        // Qt sends its answer with the structure mask, a manager would use
        // the substructure one.
        const uint32_t rootMask =
            XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c, root_, XCB_CW_EVENT_MASK, &rootMask);
        manager_ = ManagerAnswersRequests();
    }

    bool Round() { return Ping() && Ping() && AskManager(); }

private:
    bool ManagerAnswersRequests() {
        const xcb_atom_t check = Atom(c_, "_NET_SUPPORTING_WM_CHECK");
        auto* reply = xcb_get_property_reply(
            c_, xcb_get_property(c_, 0, root_, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
        const bool present = reply && xcb_get_property_value_length(reply) == 4;
        std::free(reply);
        return present;
    }

    // The program echoes the message to the root window once its event loop
    // reaches it.
    bool Ping() {
        const uint32_t serial = ++serial_;
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = program_;
        message.type = protocols_;
        message.data.data32[0] = ping_;
        message.data.data32[1] = serial;
        message.data.data32[2] = program_;
        xcb_send_event(c_, 0, program_, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(c_);
        return WaitFor(c_, [&](const xcb_generic_event_t* event) {
            if (!IsClientMessage(event)) return false;
            const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(event);
            return m->type == protocols_ && m->data.data32[0] == ping_ &&
                   m->data.data32[1] == serial;
        });
    }

    // The manager sets the frame extents of a window of ours, not mapped.
    bool AskManager() {
        if (!manager_) return true;
        const xcb_window_t probe = xcb_generate_id(c_);
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, probe, root_, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                          &mask);
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = probe;
        message.type = request_;
        xcb_send_event(c_, 0, root_,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(c_);
        const bool answered = WaitFor(c_, [&](const xcb_generic_event_t* event) {
            if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
            const auto* p = reinterpret_cast<const xcb_property_notify_event_t*>(event);
            return p->window == probe && p->atom == extents_;
        });
        xcb_destroy_window(c_, probe);
        xcb_flush(c_);
        return answered;
    }

    xcb_connection_t* c_;
    xcb_window_t program_;
    xcb_window_t root_ = 0;
    xcb_atom_t protocols_ = 0, ping_ = 0, request_ = 0, extents_ = 0;
    bool manager_ = false;
    uint32_t serial_ = 0x7ab0100;
};

}  // namespace

int Settle(const char* window) {
    char* end = nullptr;
    const unsigned long id = std::strtoul(window, &end, 0);
    if (!end || *end || id == 0) {
        std::fprintf(stderr, "settled: '%s' is not a window id\n", window);
        return 2;
    }
    Connection connection;
    if (xcb_connection_has_error(connection.c)) {
        std::fprintf(stderr, "settled: no X display\n");
        return 2;
    }
    Settler settler(connection.c, static_cast<xcb_window_t>(id));
    for (int round = 0; round < 2; ++round)
        if (!settler.Round()) {
            std::fprintf(stderr, "settled: no answer within 10 s\n");
            return 1;
        }
    return 0;
}
