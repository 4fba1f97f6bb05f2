#include "platform/controlchord.h"

namespace {

bool chord = false;
unsigned plainKey = 0;  // the last key pressed without Ctrl: Ctrl itself, when it goes down

}  // namespace

void ControlChord::KeyPressed(unsigned keyCode, bool controlHeld) {
    if (!controlHeld) {
        plainKey = keyCode;
        chord = false;
    } else if (keyCode != plainKey) {
        chord = true;  // Ctrl's own repeats are no chord
    }
}

void ControlChord::KeyboardLost() { chord = true; }

bool ControlChord::Happened() { return chord; }

#if defined(LEXILARK_HAVE_X11) && defined(LEXILARK_HAVE_XCB)

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>

#include <xcb/xcb.h>

namespace {

class ChordFilter final : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
            case XCB_KEY_PRESS: {
                const auto* press = static_cast<const xcb_key_press_event_t*>(message);
                ControlChord::KeyPressed(press->detail, press->state & XCB_MOD_MASK_CONTROL);
                break;
            }
            case XCB_FOCUS_OUT:
                ControlChord::KeyboardLost();
                break;
            default:
                break;
        }
        return false;
    }
};

ChordFilter* filter = nullptr;

}  // namespace

void ControlChord::Watch() {
    if (filter || !qGuiApp || !qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) return;
    filter = new ChordFilter;  // lives as long as the program
    qGuiApp->installNativeEventFilter(filter);
}

#else

void ControlChord::Watch() {}

#endif
