#include "platform/hotkey.h"

#include "platform/x11hotkey.h"

namespace {

// Used where no system-wide key grab is available to the program.
class UnavailableHotKey final : public HotKeyAdapter {
public:
    bool Register(int, int, std::function<void()>) override { return false; }
    void Unregister(int) override {}
};

HotKeyFactory& Factory() {
    static HotKeyFactory factory;
    return factory;
}

}  // namespace

std::unique_ptr<HotKeyAdapter> CreateHotKeyAdapter() {
    if (Factory()) return Factory()();
    if (auto x11 = CreateX11HotKeyAdapter()) return x11;
    return std::make_unique<UnavailableHotKey>();
}

HotKeyFactory SetHotKeyFactory(HotKeyFactory factory) {
    HotKeyFactory previous = std::move(Factory());
    Factory() = std::move(factory);
    return previous;
}
