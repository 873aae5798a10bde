// The menu loader's entry point: it has no commands; it acts when a drawing is opened and when it is unloaded.
#include "host/app/module.h"
#include "menuloader/loader/menu_loader.h"

KESTRION_MODULE_ENTRY(int message, void* /*packet*/, host::app::Module* /*module*/) {
    switch (message) {
        case host::app::kLoadDwgMsg: menuloader::PanelhostApp().OnLoadDrawing(); break;
        case host::app::kUnloadAppMsg: menuloader::PanelhostApp().OnUnload(); break;
        default: break;
    }
    return host::app::kRetOK;
}
