// POSIX keyboard and pointer state through the X server. libX11 is opened at run time, so the
// core links no X11 and runs unchanged where there is no X display (Wayland without XWayland,
// terminals, headless tests): every query then answers "unknown" (false / nullopt).
#include <dlfcn.h>

#include "platform/platform.h"

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

struct X11 {
    Display* (*OpenDisplay)(const char*) = nullptr;
    int (*QueryKeymap)(Display*, char*) = nullptr;
    KeyCode (*KeysymToKeycode)(Display*, KeySym) = nullptr;
    XWindow (*DefaultRootWindow)(Display*) = nullptr;
    XBool (*QueryPointer)(Display*, XWindow, XWindow*, XWindow*, int*, int*, int*, int*, unsigned*) = nullptr;
    XAtom (*InternAtom)(Display*, const char*, XBool) = nullptr;
    XBool (*XkbGetNamedIndicator)(Display*, XAtom, int*, XBool*, void*, XBool*) = nullptr;
    int (*XkbGetIndicatorState)(Display*, unsigned, unsigned*) = nullptr;
    Display* display = nullptr;
    int capsIndicator = 0; // bit of the caps-lock indicator; 0 in the usual keymaps
};

template <typename F> bool Load(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(::dlsym(library, name));
    return function != nullptr;
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

bool KeyDown(X11& x, const char (&keys)[32], KeySym symbol) {
    const KeyCode code = x.KeysymToKeycode(x.display, symbol);
    return code != 0 && (static_cast<unsigned char>(keys[code / 8]) >> (code % 8) & 1U) != 0;
}

} // namespace

bool CapsLockOn() {
    X11* x = Connection();
    if (x == nullptr) return false;
    unsigned state = 0;
    if (x->XkbGetIndicatorState(x->display, kXkbUseCoreKbd, &state) != 0) return false; // not Success
    return (state >> x->capsIndicator & 1U) != 0;
}

bool AsyncKeyDown(int virtualKey) {
    X11* x = Connection();
    if (x == nullptr) return false;
    char keys[32] = {};
    x->QueryKeymap(x->display, keys);
    switch (virtualKey) {
    case kVkEscape:
        return KeyDown(*x, keys, kXkEscape);
    case kVkShift:
        return KeyDown(*x, keys, kXkShiftL) || KeyDown(*x, keys, kXkShiftR);
    case kVkControl:
        return KeyDown(*x, keys, kXkControlL) || KeyDown(*x, keys, kXkControlR);
    default:
        return false;
    }
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
