// POSIX keyboard and pointer state through the X server. libX11 is opened at run time, so the
// core links no X11 and runs unchanged where there is no X display (Wayland without XWayland,
// terminals, headless tests): every query then answers "unknown" (false / nullopt).
#include <dlfcn.h>

#include "platform/HotRegionKeys.h"
#include "platform/platform.h"
#include "platform/posix/KeyLatch.h"

namespace vaultwing::platform {
namespace {

// The few X11 types the queries need, declared by their C layout so no X header is needed.
using Display = void;
using XWindow = unsigned long;
using XAtom = unsigned long;
using KeySym = unsigned long;
using KeyCode = unsigned char;
using XBool = int;

constexpr unsigned kXkbUseCoreKbd = 0x0100;
constexpr KeySym kXkEscape = 0xff1b;
constexpr KeySym kXkShiftL = 0xffe1;
constexpr KeySym kXkShiftR = 0xffe2;
constexpr KeySym kXkControlL = 0xffe3;
constexpr KeySym kXkControlR = 0xffe4;

// XInput2, for the raw key presses between two queries (libXi, opened at run time too).
constexpr int kGenericEvent = 35;
constexpr int kXiRawKeyPress = 13;
constexpr int kXiAllMasterDevices = 1;
struct XiEventMask {
    int deviceid;
    int mask_len;
    unsigned char* mask;
};
union XEvent {
    int type;
    long pad[24];
};
// The fields every generic event starts with. As the first member of the structs below it keeps
// the offsets of Xlib's flat declarations (its size, 40, is a multiple of its alignment).
struct XGenericEventHeader {
    int type;
    unsigned long serial;
    XBool send_event;
    Display* display;
    int extension;
    int evtype;
};
struct XGenericEventCookie {
    XGenericEventHeader header;
    unsigned cookie;
    void* data;
};
struct XiRawEventStart { // the fields of XIRawEvent up to the key code
    XGenericEventHeader header;
    unsigned long time;
    int deviceid;
    int sourceid;
    int detail;
};

struct X11 {
    Display* (*OpenDisplay)(const char*) = nullptr;
    int (*QueryKeymap)(Display*, char*) = nullptr;
    KeyCode (*KeysymToKeycode)(Display*, KeySym) = nullptr;
    XWindow (*DefaultRootWindow)(Display*) = nullptr;
    XBool (*QueryPointer)(Display*, XWindow, XWindow*, XWindow*, int*, int*, int*, int*, unsigned*) = nullptr;
    XAtom (*InternAtom)(Display*, const char*, XBool) = nullptr;
    XBool (*XkbGetNamedIndicator)(Display*, XAtom, int*, XBool*, void*, XBool*) = nullptr;
    int (*XkbGetIndicatorState)(Display*, unsigned, unsigned*) = nullptr;
    XBool (*QueryExtension)(Display*, const char*, int*, int*, int*) = nullptr;
    int (*Pending)(Display*) = nullptr;
    int (*NextEvent)(Display*, XEvent*) = nullptr;
    XBool (*GetEventData)(Display*, XGenericEventCookie*) = nullptr;
    void (*FreeEventData)(Display*, XGenericEventCookie*) = nullptr;
    int (*Flush)(Display*) = nullptr;
    Display* display = nullptr;
    int capsIndicator = 0; // bit of the caps-lock indicator; 0 in the usual keymaps
    int xiOpcode = -1;     // the XInput extension's major opcode; -1 without raw key events
    int (*SelectXiEvents)(Display*, XWindow, XiEventMask*, int) = nullptr;
    void* library = nullptr;
};

template <typename F> bool Load(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(::dlsym(library, name));
    return function != nullptr;
}

// Asks for every key press on the display as a raw event on the root window, or no longer.
void SelectRawKeyPresses(X11& x, bool on) {
    unsigned char bits[(kXiRawKeyPress >> 3) + 1] = {};
    if (on) bits[kXiRawKeyPress >> 3] |= static_cast<unsigned char>(1U << (kXiRawKeyPress & 7));
    XiEventMask mask{kXiAllMasterDevices, static_cast<int>(sizeof bits), bits};
    x.SelectXiEvents(x.display, x.DefaultRootWindow(x.display), &mask, 1);
    x.Flush(x.display);
}

// Loads XInput2 and starts listening. Without XInput2 the latch sees no presses and the keys
// read as the X server has them now.
void ListenForRawKeyPresses(void* x11Library, X11& x) {
    void* xi = ::dlopen("libXi.so.6", RTLD_LAZY | RTLD_LOCAL);
    int (*queryVersion)(Display*, int*, int*) = nullptr;
    if (xi == nullptr || !Load(xi, "XISelectEvents", x.SelectXiEvents) || !Load(xi, "XIQueryVersion", queryVersion) ||
        !Load(x11Library, "XQueryExtension", x.QueryExtension) || !Load(x11Library, "XPending", x.Pending) ||
        !Load(x11Library, "XNextEvent", x.NextEvent) || !Load(x11Library, "XGetEventData", x.GetEventData) ||
        !Load(x11Library, "XFreeEventData", x.FreeEventData) || !Load(x11Library, "XFlush", x.Flush))
        return;
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    int major = 2;
    int minor = 0;
    if (x.QueryExtension(x.display, "XInputExtension", &opcode, &firstEvent, &firstError) == 0 ||
        queryVersion(x.display, &major, &minor) != 0) // not Success: no XInput 2
        return;
    SelectRawKeyPresses(x, true);
    x.xiOpcode = opcode;
}

// The key codes of the raw presses queued since the last look.
std::vector<unsigned> RawKeyPresses(X11& x) {
    std::vector<unsigned> codes;
    if (x.xiOpcode < 0) return codes;
    while (x.Pending(x.display) > 0) {
        XEvent event{};
        x.NextEvent(x.display, &event);
        auto* cookie = reinterpret_cast<XGenericEventCookie*>(&event);
        if (cookie->header.type != kGenericEvent || cookie->header.extension != x.xiOpcode ||
            x.GetEventData(x.display, cookie) == 0)
            continue;
        if (cookie->header.evtype == kXiRawKeyPress)
            codes.push_back(static_cast<unsigned>(static_cast<const XiRawEventStart*>(cookie->data)->detail));
        x.FreeEventData(x.display, cookie);
    }
    return codes;
}

// The X connection, opened once on first use; nullptr when there is none to be had.
X11* Connection() {
    static X11* const connection = []() -> X11* {
        void* library = ::dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
        if (library == nullptr) return nullptr;
        static X11 x;
        const bool complete =
            Load(library, "XOpenDisplay", x.OpenDisplay) && Load(library, "XQueryKeymap", x.QueryKeymap) &&
            Load(library, "XKeysymToKeycode", x.KeysymToKeycode) &&
            Load(library, "XDefaultRootWindow", x.DefaultRootWindow) &&
            Load(library, "XQueryPointer", x.QueryPointer) && Load(library, "XInternAtom", x.InternAtom) &&
            Load(library, "XkbGetIndicatorState", x.XkbGetIndicatorState);
        (void)Load(library, "XkbGetNamedIndicator", x.XkbGetNamedIndicator);
        if (!complete) return nullptr;
        x.display = x.OpenDisplay(nullptr);
        if (x.display == nullptr) return nullptr;
        x.library = library; // the raw key presses are asked for when the hot region starts
        if (x.XkbGetNamedIndicator != nullptr) {
            int index = -1;
            XBool state = 0;
            const XAtom name = x.InternAtom(x.display, "Caps Lock", 1);
            if (name != 0 && x.XkbGetNamedIndicator(x.display, name, &index, &state, nullptr, nullptr) != 0 &&
                index >= 0 && index < 32)
                x.capsIndicator = index;
        }
        return &x;
    }();
    return connection;
}

KeyLatch& Latch() {
    static KeyLatch latch;
    return latch;
}

} // namespace

void WatchHotRegionKeys(bool on) {
    X11* x = Connection();
    if (x == nullptr) return;
    if (x->xiOpcode < 0 && on)
        ListenForRawKeyPresses(x->library, *x);
    else if (x->xiOpcode >= 0)
        SelectRawKeyPresses(*x, on);
    (void)RawKeyPresses(*x); // what was typed before, elsewhere, is read and dropped
    Latch().Clear();
}

bool CapsLockOn() {
    X11* x = Connection();
    if (x == nullptr) return false;
    unsigned state = 0;
    if (x->XkbGetIndicatorState(x->display, kXkbUseCoreKbd, &state) != 0) return false; // not Success
    return (state >> x->capsIndicator & 1U) != 0;
}

// Both keys of a pair are always asked, so neither keeps a press for a later query.
bool EitherDown(KeySource& source, KeyLatch& latch, KeySym left, KeySym right) {
    const bool leftDown = latch.Down(source, left);
    const bool rightDown = latch.Down(source, right);
    return leftDown || rightDown;
}

bool LatchedKeyDown(KeySource& source, KeyLatch& latch, int virtualKey) {
    switch (virtualKey) {
    case kVkEscape:
        return latch.Down(source, kXkEscape);
    case kVkShift:
        return EitherDown(source, latch, kXkShiftL, kXkShiftR);
    case kVkControl:
        return EitherDown(source, latch, kXkControlL, kXkControlR);
    default:
        return false;
    }
}

bool AsyncKeyDown(int virtualKey) {
    X11* x = Connection();
    if (x == nullptr) return false;
    char keys[32] = {};
    x->QueryKeymap(x->display, keys);
    KeySource source{
        [x](unsigned long symbol) { return unsigned{x->KeysymToKeycode(x->display, symbol)}; },
        [&keys](unsigned code) { return (static_cast<unsigned char>(keys[code / 8 % 32]) >> (code % 8) & 1U) != 0; },
        [x] { return RawKeyPresses(*x); }};
    return LatchedKeyDown(source, Latch(), virtualKey);
}

std::optional<ScreenPoint> CursorPosition() {
    X11* x = Connection();
    if (x == nullptr) return std::nullopt;
    XWindow root = 0;
    XWindow child = 0;
    ScreenPoint point;
    int windowX = 0;
    int windowY = 0;
    unsigned mask = 0;
    if (x->QueryPointer(x->display, x->DefaultRootWindow(x->display), &root, &child, &point.x, &point.y, &windowX,
                        &windowY, &mask) == 0)
        return std::nullopt; // the pointer is on another screen
    return point;
}

} // namespace vaultwing::platform
