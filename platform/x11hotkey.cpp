#include "platform/x11hotkey.h"

#include "platform/hotkey.h"

#if defined(LEXILARK_HAVE_X11) && defined(LEXILARK_HAVE_XCB)

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <cstdlib>
#include <map>
#include <vector>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

namespace {

// A grab with no modifiers must still fire with Caps Lock or Num Lock on,
// as a key with no modifiers does elsewhere: grab every lock combination.
constexpr uint16_t kLockMasks[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

class X11HotKey final : public HotKeyAdapter, public QAbstractNativeEventFilter {
public:
    X11HotKey(Display* display, xcb_connection_t* connection) : display_(display), connection_(connection) {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        root_ = xcb_setup_roots_iterator(setup).data->root;
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~X11HotKey() override {
        if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
        while (!keys_.empty()) Unregister(keys_.begin()->first);
    }

    bool Register(int id, int virtualKey, std::function<void()> pressed) override {
        Unregister(id);
        const unsigned long sym = X11KeySymForVirtualKey(virtualKey);
        if (sym == 0) return false;
        const xcb_keycode_t code = XKeysymToKeycode(display_, sym);
        if (code == 0) return false;

        std::vector<uint16_t> grabbed;
        for (uint16_t mods : kLockMasks) {
            xcb_void_cookie_t cookie =
                xcb_grab_key_checked(connection_, 1, root_, mods, code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
                // Another client holds the key: give back what was taken.
                free(error);
                for (uint16_t done : grabbed) xcb_ungrab_key(connection_, code, root_, done);
                Sync();
                return false;
            }
            grabbed.push_back(mods);
        }
        keys_[id] = Key{code, std::move(pressed)};
        return true;
    }

    void Unregister(int id) override {
        auto it = keys_.find(id);
        if (it == keys_.end()) return;
        for (uint16_t mods : kLockMasks) xcb_ungrab_key(connection_, it->second.code, root_, mods);
        Sync();
        keys_.erase(it);
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t") return false;
        auto* event = static_cast<xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_KEY_PRESS) return false;
        auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
        if (press->event != root_) return false;
        for (const auto& [id, key] : keys_) {
            if (key.code != press->detail) continue;
            // Hot keys arrive like any other window message: after the
            // event that carried them has been dealt with. A press still
            // queued when the key is given up goes with the adapter.
            auto pressed = key.pressed;
            QMetaObject::invokeMethod(
                &delivery_,
                [pressed] {
                    if (pressed) pressed();
                },
                Qt::QueuedConnection);
            return true;
        }
        return false;
    }

private:
    // Waits until the server has dealt with every request sent so far, so a
    // released key is free for other programs when Unregister returns.
    void Sync() { free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr)); }

    struct Key {
        xcb_keycode_t code;
        std::function<void()> pressed;
    };

    Display* display_;
    xcb_connection_t* connection_;
    QObject delivery_;
    xcb_window_t root_ = 0;
    std::map<int, Key> keys_;
};

}  // namespace

std::unique_ptr<HotKeyAdapter> CreateX11HotKeyAdapter() {
    auto* app = qGuiApp;
    if (!app) return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display() || !x11->connection()) return nullptr;
    return std::make_unique<X11HotKey>(x11->display(), x11->connection());
}

#else

std::unique_ptr<HotKeyAdapter> CreateX11HotKeyAdapter() { return nullptr; }

#endif

unsigned long X11KeySymForVirtualKey(int virtualKey) {
    constexpr int kVkF1 = 0x70;
    constexpr int kVkF24 = 0x87;
    constexpr unsigned long kXkF1 = 0xffbe;  // F1..F35 are consecutive key symbols
    if (virtualKey < kVkF1 || virtualKey > kVkF24) return 0;
    return kXkF1 + static_cast<unsigned long>(virtualKey - kVkF1);
}
