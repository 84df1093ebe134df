/*
 * A menu as text, one line per item, submenus indented by two blanks:
 *   <id or "popup">[ grey][ default] <text>
 * and "---" for a separator.
 */
#ifndef QEL_TEST_MENUTEXT_H
#define QEL_TEST_MENUTEXT_H

#include <windows.h>
#include <string>

std::string DescribeMenu(HMENU menu, int depth = 0);

#endif
