#include "ornapanel/PanelResources.h"

namespace {

ui::Module MakeModule() {
    ui::Module module("ornapanel");
    module.AddStrings({
        {ui::kTitleString, "Quilan ISDN T/A Configuration Tool"},
        {IDS_APPLET_NAME, "Quilan ISDN Terminal Adapter"},
        {IDS_APPLET_INFO, "Changes Quilan ISDN T/A card properties."},
        {IDS_INIT_ERROR, "An error occured while initialising the applet."},
        {IDS_TERMINATE_ERROR, "An error occured while terminating the applet."},
    });
    // The adapter as a PC card with its connector: 32 x 32 pixels, 8 x 4 cells. A list row
    // shows the first line alone, so that line reads as the card by itself.
    module.AddIcon(IDI_APPLET, ui::Image{32,
                                         32,
                                         {
                                             "[ISDN]=o",
                                             "| T/A  |",
                                             "|      |",
                                             "'-||||-'",
                                         }});
    return module;
}

}  // namespace

const ui::Module& PanelModule() {
    static const ui::Module module = MakeModule();
    return module;
}
