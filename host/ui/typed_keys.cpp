// Key lines of the run's input turned into key presses.
#include "host/ui/typed_keys.h"

#include "host/ed/input.h"
#include "host/ui/constants.h"
#include "host/ui/desktop.h"

namespace host::ui {

unsigned virtualKeyOfLine(std::string_view line) {
    if (!ed::isTypedKeyLine(line)) return 0;
    if (ed::isCancelToken(line)) return VK_ESCAPE;
    return line.find('+') != std::string_view::npos ? VK_ADD : VK_SUBTRACT;
}

bool queueTypedKey(Desktop& desktop) {
    const std::optional<std::string> line = ed::input().takeTypedKey();
    if (!line) return false;
    const unsigned vk = virtualKeyOfLine(*line);
    if (vk == 0) return false;
    desktop.queueKey(vk, true);
    desktop.queueKey(vk, false);
    return true;
}

}  // namespace host::ui
