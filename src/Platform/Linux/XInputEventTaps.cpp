#include "Platform/Linux/XInputEventTaps.hpp"

#include <algorithm>
#include <vector>
#include <xcb/xinput.h>

namespace velmora {

/// What the taps share: the selection on the root window, held while any tap is enabled, and
/// the delivery of each event to the enabled taps that asked for its type.
class XInputEventTaps::Hub {
public:
    Hub(std::shared_ptr<XcbConnection> connection, std::shared_ptr<X11ClientList> clients)
        : connection_(std::move(connection)), clients_(std::move(clients)) {
        xcb_connection_t* c = connection_->get();
        const auto* xinput = xcb_get_extension_data(c, &xcb_input_id);
        if (!xinput || !xinput->present) {
            return;
        }
        // Raw events on the root window arrived with XInput 2.2.
        const auto version = connection_->reply(xcb_input_xi_query_version_reply,
                                                xcb_input_xi_query_version(c, 2, 2));
        supported_ = version && (version->major_version > 2 ||
                                 (version->major_version == 2 && version->minor_version >= 2));
        opcode_ = xinput->major_opcode;
    }

    [[nodiscard]] bool isSupported() const { return supported_; }

    void setEnabled(Tap* tap, bool enabled) {
        const bool wasSelecting = !enabled_.empty();
        std::erase(enabled_, tap);
        if (enabled) {
            enabled_.push_back(tap);
        }
        if (wasSelecting != !enabled_.empty()) {
            select(!enabled_.empty());
        }
    }
    [[nodiscard]] bool isEnabled(const Tap* tap) const {
        return std::find(enabled_.begin(), enabled_.end(), tap) != enabled_.end();
    }

private:
    void select(bool on) {
        struct {
            xcb_input_event_mask_t head;
            uint32_t bits;
        } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
               on ? uint32_t{XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS |
                             XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS}
                  : 0u};
        xcb_input_xi_select_events(connection_->get(), connection_->root(), 1, &mask.head);
        connection_->flush();
        if (on) {
            events_ = connection_->observeEvents(
                [this](const xcb_generic_event_t& event) { handleEvent(event); });
        } else {
            events_.reset();
        }
    }

    void handleEvent(const xcb_generic_event_t& event);
    std::int32_t focusedProcess();
    std::int32_t processUnderPointer();

    std::shared_ptr<XcbConnection> connection_;
    std::shared_ptr<X11ClientList> clients_;
    bool supported_ = false;
    uint8_t opcode_ = 0;
    std::vector<Tap*> enabled_;
    Subscription events_;
};

class XInputEventTaps::Tap final : public EventTap {
public:
    Tap(std::shared_ptr<Hub> hub, InputEventMask mask, Callback callback)
        : hub_(std::move(hub)), mask_(mask), callback_(std::move(callback)) {}
    ~Tap() override { hub_->setEnabled(this, false); }

    void setEnabled(bool enabled) override { hub_->setEnabled(this, enabled); }
    [[nodiscard]] bool isEnabled() const override { return hub_->isEnabled(this); }
    [[nodiscard]] std::string description() const override {
        return "XInput 2 raw event tap on the root window, mask " + std::to_string(mask_);
    }

    [[nodiscard]] bool wants(InputEventType type) const {
        return (mask_ & inputEventMaskBit(type)) != 0;
    }
    void deliver(const InputEvent& event) const { callback_(event); }

private:
    std::shared_ptr<Hub> hub_;
    InputEventMask mask_;
    Callback callback_;
};

void XInputEventTaps::Hub::handleEvent(const xcb_generic_event_t& event) {
    if ((event.response_type & 0x7f) != XCB_GE_GENERIC) {
        return;
    }
    const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
    if (generic.extension != opcode_) {
        return;
    }
    InputEventType type;
    if (generic.event_type == XCB_INPUT_RAW_KEY_PRESS) {
        type = InputEventType::keyDown;
    } else if (generic.event_type == XCB_INPUT_RAW_BUTTON_PRESS) {
        const auto button =
            reinterpret_cast<const xcb_input_raw_button_press_event_t&>(event).detail;
        if (button == 1) {
            type = InputEventType::leftMouseDown;
        } else if (button == 3) {
            type = InputEventType::rightMouseDown;
        } else {
            return;
        }
    } else {
        return;
    }
    // A callback may switch taps off or destroy them; only taps still enabled hear it.
    const auto taps = enabled_;
    if (std::none_of(taps.begin(), taps.end(), [type](const Tap* t) { return t->wants(type); })) {
        return;
    }
    const InputEvent input{type, type == InputEventType::keyDown ? focusedProcess()
                                                                 : processUnderPointer()};
    for (const Tap* tap : taps) {
        if (tap->wants(type) && isEnabled(tap)) {
            tap->deliver(input);
        }
    }
}

std::int32_t XInputEventTaps::Hub::focusedProcess() {
    const auto focus =
        connection_->reply(xcb_get_input_focus_reply, xcb_get_input_focus(connection_->get()));
    // None and PointerRoot name no window.
    if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT) {
        return 0;
    }
    return clients_->ownerOf(focus->focus).value_or(0);
}

std::int32_t XInputEventTaps::Hub::processUnderPointer() {
    const auto pointer = connection_->reply(
        xcb_query_pointer_reply, xcb_query_pointer(connection_->get(), connection_->root()));
    if (!pointer || pointer->child == XCB_NONE) {
        return 0;
    }
    return clients_->ownerOf(pointer->child).value_or(0);
}

XInputEventTaps::XInputEventTaps(std::shared_ptr<XcbConnection> connection,
                                 std::shared_ptr<X11ClientList> clients)
    : hub_(std::make_shared<Hub>(std::move(connection), std::move(clients))) {}

XInputEventTaps::~XInputEventTaps() = default;

std::unique_ptr<EventTap> XInputEventTaps::createListenOnlyTap(InputEventMask mask,
                                                               Callback callback) {
    if (!hub_->isSupported()) {
        return nullptr;
    }
    return std::make_unique<Tap>(hub_, mask, std::move(callback));
}

} // namespace velmora
