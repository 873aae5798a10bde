// The cutting-path module's entry point: the host's application messages, handed to the module's application.
#include <exception>

#include "host/app/module.h"
#include "laser/frame/frame_messages.h"
#include "laser/frame/laser_application.h"

KESTRION_MODULE_ENTRY(int message, void* /*packet*/, host::app::Module* /*module*/) {
    // The drawing messages are about the current document, which the application finds itself. Every message is
    // answered as a success, and nothing may leave the entry point as an exception: a failure is told instead.
    try {
        LaserApp().DispatchMessage(message);
    } catch (const std::exception& e) {
        PrintLocalized(kMessageFailedText, message, e.what());
    } catch (...) {
        PrintLocalized(kMessageFailedText, message, "?");
    }
    return host::app::kRetOK;
}
