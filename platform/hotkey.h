#pragma once
// The system-wide hot key of the study window (F9 pauses and hides it from
// anywhere). Registration is a platform facility behind this adapter; the
// program asks the factory for the platform's adapter, tests install a fake.

#include <functional>
#include <memory>

class HotKeyAdapter {
public:
    virtual ~HotKeyAdapter() = default;
    // Registers the key `virtualKey` (a Windows virtual-key code, no
    // modifiers) under `id`; `pressed` then runs on the user-interface thread
    // at every press, whichever window has the focus. False when the key
    // cannot be registered (taken by another program, no display support).
    virtual bool Register(int id, int virtualKey, std::function<void()> pressed) = 0;
    // Releases `id`; harmless when it is not registered.
    virtual void Unregister(int id) = 0;
};

using HotKeyFactory = std::function<std::unique_ptr<HotKeyAdapter>()>;

// The adapter for this platform and display. Where the platform offers no
// system-wide keys the adapter refuses every registration.
std::unique_ptr<HotKeyAdapter> CreateHotKeyAdapter();
// Replaces the factory CreateHotKeyAdapter uses; an empty factory restores
// the platform's. Returns the factory that was installed before.
HotKeyFactory SetHotKeyFactory(HotKeyFactory factory);
