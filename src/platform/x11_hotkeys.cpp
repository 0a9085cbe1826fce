#include "platform/x11_hotkeys.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace penvox {

namespace {

// Windows virtual-key codes of F1 and F12, and the X keysym of F1
// (F2 to F12 follow it in both numberings).
constexpr int kVkF1 = 112;
constexpr int kVkF12 = 123;
constexpr std::uint32_t kKeysymF1 = 0xffbe;
constexpr std::uint32_t kKeysymNumLock = 0xff7f;

// The modifier bits of a key event that make it a different key
// combination; CapsLock and NumLock are left out since a locked key should
// not stop a hot key from working.
constexpr std::uint16_t kModifierBits = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 |
                                        XCB_MOD_MASK_2 | XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

}  // namespace

GlobalHotKeys::GlobalHotKeys(QObject* parent) : QObject(parent) {
    if (qGuiApp == nullptr)
        return;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
            connection_ = x11->connection();
    }
    if (connection_ != nullptr && xcb_connection_has_error(connection_) == 0) {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        for (auto it = xcb_setup_roots_iterator(setup); it.rem > 0; xcb_screen_next(&it))
            roots_.append(it.data->root);
        numLock_ = numLockMask();
        QCoreApplication::instance()->installNativeEventFilter(this);
    } else {
        connection_ = nullptr;
        qGuiApp->installEventFilter(this);
    }
}

GlobalHotKeys::~GlobalHotKeys() {
    // Once the application is gone its X connection is closed, and the
    // server has dropped the grabs with it.
    if (QCoreApplication::instance() == nullptr)
        return;
    if (connection_ != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
        for (const Registration& registration : std::as_const(registrations_))
            ungrab(registration.grabs);
        xcb_flush(connection_);
    }
}

std::uint32_t GlobalHotKeys::keysymOf(int virtualKey) {
    if (virtualKey < kVkF1 || virtualKey > kVkF12)
        return 0;
    return kKeysymF1 + static_cast<std::uint32_t>(virtualKey - kVkF1);
}

int GlobalHotKeys::qtKeyOf(int virtualKey) {
    if (virtualKey < kVkF1 || virtualKey > kVkF12)
        return 0;
    return Qt::Key_F1 + (virtualKey - kVkF1);
}

void GlobalHotKeys::setHandler(std::function<void(int id)> handler) { handler_ = std::move(handler); }

int GlobalHotKeys::registerKey(int virtualKey) {
    const int qtKey = qtKeyOf(virtualKey);
    if (qtKey == 0)
        return 0;
    for (const Registration& registration : std::as_const(registrations_)) {
        if (registration.virtualKey == virtualKey)
            return 0;
    }
    Registration registration{0, virtualKey, qtKey, {}, {}};
    if (connection_ != nullptr) {
        registration.keycodes = keycodesOf(keysymOf(virtualKey));
        if (registration.keycodes.isEmpty() || !grabAll(registration))
            return 0;
    }
    registration.id = ++lastId_;
    registrations_.append(registration);
    return registration.id;
}

// The keycodes that give the keysym. Keys that give it unshifted come first
// and are the only ones taken when there are any: grabbing a key whose plain
// press means something else would steal that key from every program.
QList<std::uint8_t> GlobalHotKeys::keycodesOf(std::uint32_t keysym) const {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const int first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_generic_error_t* error = nullptr;
    XcbReply<xcb_get_keyboard_mapping_reply_t> reply(xcb_get_keyboard_mapping_reply(
        connection_, xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<std::uint8_t>(count)),
        &error));
    std::free(error);
    if (!reply || reply->keysyms_per_keycode == 0)
        return {};
    const int perKeycode = reply->keysyms_per_keycode;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const int length = xcb_get_keyboard_mapping_keysyms_length(reply.get());

    QList<std::uint8_t> plain, shifted;
    for (int i = 0; i < count && (i + 1) * perKeycode <= length; ++i) {
        const xcb_keysym_t* row = keysyms + i * perKeycode;
        if (row[0] == keysym) {
            plain.append(static_cast<std::uint8_t>(first + i));
            continue;
        }
        for (int column = 1; column < perKeycode; ++column) {
            if (row[column] == keysym) {
                shifted.append(static_cast<std::uint8_t>(first + i));
                break;
            }
        }
    }
    return plain.isEmpty() ? shifted : plain;
}

// The modifier bit NumLock sets: usually Mod2, but the keyboard map decides.
std::uint16_t GlobalHotKeys::numLockMask() const {
    const QList<std::uint8_t> numLockKeys = keycodesOf(kKeysymNumLock);
    xcb_generic_error_t* error = nullptr;
    XcbReply<xcb_get_modifier_mapping_reply_t> reply(
        xcb_get_modifier_mapping_reply(connection_, xcb_get_modifier_mapping(connection_), &error));
    std::free(error);
    if (reply && !numLockKeys.isEmpty()) {
        const int perModifier = reply->keycodes_per_modifier;
        const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(reply.get());
        const int length = xcb_get_modifier_mapping_keycodes_length(reply.get());
        for (int modifier = 0; modifier < 8; ++modifier) {
            for (int k = 0; k < perModifier && modifier * perModifier + k < length; ++k) {
                const xcb_keycode_t keycode = keycodes[modifier * perModifier + k];
                if (keycode != 0 && numLockKeys.contains(keycode))
                    return static_cast<std::uint16_t>(1u << modifier);
            }
        }
    }
    return XCB_MOD_MASK_2;
}

// Grabs every keycode of the registration on every root window, plain and
// with the lock modifiers. Either all grabs succeed or none is kept: another
// program holding the key makes the server refuse with BadAccess.
bool GlobalHotKeys::grabAll(Registration& registration) {
    QList<std::uint16_t> modifierSets{0, XCB_MOD_MASK_LOCK};
    if (numLock_ != XCB_MOD_MASK_LOCK) {
        modifierSets.append(numLock_);
        modifierSets.append(static_cast<std::uint16_t>(numLock_ | XCB_MOD_MASK_LOCK));
    }
    QList<Grab> attempts;
    QList<xcb_void_cookie_t> cookies;
    for (std::uint32_t root : std::as_const(roots_)) {
        for (std::uint8_t keycode : std::as_const(registration.keycodes)) {
            for (std::uint16_t modifiers : std::as_const(modifierSets)) {
                attempts.append(Grab{root, keycode, modifiers});
                cookies.append(xcb_grab_key_checked(connection_, 1, root, modifiers, keycode, XCB_GRAB_MODE_ASYNC,
                                                    XCB_GRAB_MODE_ASYNC));
            }
        }
    }
    bool allGranted = true;
    for (qsizetype i = 0; i < cookies.size(); ++i) {
        XcbReply<xcb_generic_error_t> error(xcb_request_check(connection_, cookies[i]));
        if (error)
            allGranted = false;
        else
            registration.grabs.append(attempts[i]);
    }
    if (!allGranted) {
        ungrab(registration.grabs);
        xcb_flush(connection_);
        registration.grabs.clear();
    }
    return allGranted && !registration.grabs.isEmpty();
}

void GlobalHotKeys::ungrab(const QList<Grab>& grabs) {
    for (const Grab& grab : grabs)
        xcb_ungrab_key(connection_, grab.keycode, grab.root, grab.modifiers);
}

void GlobalHotKeys::fire(int id) {
    if (handler_) {
        const auto handler = handler_;  // the handler may replace itself
        handler(id);
    }
}

bool GlobalHotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (message == nullptr || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    const std::uint16_t ignored = static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLock_);
    if ((key->state & kModifierBits & ~ignored) != 0)
        return false;
    for (const Registration& registration : std::as_const(registrations_)) {
        if (!registration.keycodes.contains(key->detail))
            continue;
        if (type == XCB_KEY_PRESS) {
            // The handler may open a dialog with its own event loop: it runs
            // after Qt has finished with this native event, not inside it.
            const int id = registration.id;
            QMetaObject::invokeMethod(this, [this, id] { fire(id); }, Qt::QueuedConnection);
        }
        return true;  // the release of a hot key belongs to it too
    }
    return false;
}

bool GlobalHotKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return QObject::eventFilter(watched, event);
    int id = 0;
    for (const Registration& registration : std::as_const(registrations_)) {
        if (registration.qtKey == key->key()) {
            id = registration.id;
            break;
        }
    }
    if (id == 0)
        return QObject::eventFilter(watched, event);
    // Accepting the shortcut override keeps a menu shortcut on the same key
    // from taking it; the key press that follows is the hot key.
    event->accept();
    if (type == QEvent::KeyPress)
        fire(id);
    return true;
}

}  // namespace penvox
