// A push button.
#pragma once

#include <functional>

#include "common/ui/control.h"

namespace ui {

class Button : public Control {
public:
    Button(Container& parent, const Bounds& b, const std::string& caption,
           std::function<void()> onClick = {});
    void onCommand(WORD code) override;
    // Acts as if the user had clicked it.
    void click();
    bool press() override;
    bool pressesOnEnter() const override { return true; }

    std::function<void()> onClick;
};

}  // namespace ui
