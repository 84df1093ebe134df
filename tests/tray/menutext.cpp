#include "menutext.h"

std::string DescribeMenu(HMENU menu, int depth)
{
    std::string out;
    int count = GetMenuItemCount(menu);
    UINT defaultPosition = GetMenuDefaultItem(menu, TRUE, GMDI_USEDISABLED);
    for (int position = 0; position < count; ++position) {
        out += std::string(depth * 2, ' ');
        UINT state = GetMenuState(menu, position, MF_BYPOSITION);
        if (state & MF_SEPARATOR) {
            out += "---\n";
            continue;
        }
        HMENU submenu = GetSubMenu(menu, position);
        out += submenu ? std::string("popup")
                       : std::to_string(GetMenuItemID(menu, position));
        if (state & MF_GRAYED)
            out += " grey";
        if (static_cast<UINT>(position) == defaultPosition)
            out += " default";
        char text[300] = "";
        GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
        out += std::string(" ") + text + "\n";
        if (submenu)
            out += DescribeMenu(submenu, depth + 1);
    }
    return out;
}
