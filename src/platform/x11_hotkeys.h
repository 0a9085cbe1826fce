#pragma once
// Hot keys for the whole desktop.
//
// Under X11 each key is grabbed on the root window (with and without the
// NumLock and CapsLock modifiers, so those locks do not disable it), and the
// presses are picked out of Qt's native event stream. Where no global grab
// exists (Wayland, the offscreen platform of the tests) the same keys work as
// shortcuts of the whole application while one of its windows has the focus.
//
// Keys are given as Windows virtual-key codes, as the rest of the program
// knows them; F1 to F12 (112 to 123) are the ones understood.
#include <QAbstractNativeEventFilter>
#include <QList>
#include <QObject>
#include <cstdint>
#include <functional>

struct xcb_connection_t;

namespace penvox {

class GlobalHotKeys final : public QObject, public QAbstractNativeEventFilter {
public:
    explicit GlobalHotKeys(QObject* parent = nullptr);
    ~GlobalHotKeys() override;
    GlobalHotKeys(const GlobalHotKeys&) = delete;
    GlobalHotKeys& operator=(const GlobalHotKeys&) = delete;

    // Takes the key for this program. Returns a new id (non-zero, larger than
    // every earlier one), or 0 when the key is unknown, already registered
    // here, or held by another program.
    int registerKey(int virtualKey);
    void setHandler(std::function<void(int id)> handler);

    // True when the keys are grabbed on the X server, false when they only
    // work inside the application.
    bool isGlobal() const { return connection_ != nullptr; }

    // The X keysym of a virtual-key code, 0 when the key is not supported.
    static std::uint32_t keysymOf(int virtualKey);
    // The Qt key of a virtual-key code, 0 when the key is not supported.
    static int qtKeyOf(int virtualKey);

protected:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Grab {
        std::uint32_t root;
        std::uint8_t keycode;
        std::uint16_t modifiers;
    };
    struct Registration {
        int id;
        int virtualKey;
        int qtKey;
        QList<std::uint8_t> keycodes;  // X11 only
        QList<Grab> grabs;             // X11 only
    };

    QList<std::uint8_t> keycodesOf(std::uint32_t keysym) const;
    std::uint16_t numLockMask() const;
    bool grabAll(Registration& registration);
    void ungrab(const QList<Grab>& grabs);
    void fire(int id);

    xcb_connection_t* connection_ = nullptr;
    QList<std::uint32_t> roots_;
    std::uint16_t numLock_ = 0;
    QList<Registration> registrations_;
    std::function<void(int id)> handler_;
    int lastId_ = 0;
};

}  // namespace penvox
