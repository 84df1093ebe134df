/*
 * The package help files in the platform's help viewer, opened the two
 * ways the tray utility opens them: the contents (HELP_FINDER) and the
 * topic of context number 90 (HELP_CONTEXT). The viewer's text is read
 * back from its windows.
 *
 * The tray utility asks for topic 90 in the secondary window "subcon"
 * ("file>subcon"). The viewer of this platform takes that whole text for
 * the file name, so here topic 90 is asked for in the main window; the
 * window "subcon" itself is checked in the file by the generator's test.
 */
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "sandbox.h"

namespace {

struct TextSearch {
    const std::string *text;
    bool found;
};

BOOL CALLBACK MatchChildText(HWND window, LPARAM lParam)
{
    auto *search = reinterpret_cast<TextSearch *>(lParam);
    char text[8192] = "";
    DWORD_PTR length = 0;
    /* The viewer is another process: do not hang on it. */
    if (SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, 2000, &length) &&
        std::string(text).find(*search->text) != std::string::npos) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK MatchWindowText(HWND window, LPARAM lParam)
{
    auto *search = reinterpret_cast<TextSearch *>(lParam);
    if (IsWindowVisible(window))
        EnumChildWindows(window, MatchChildText, lParam);
    return !search->found;
}

/* Waits until some visible window shows text. */
bool WaitForText(const std::string &text, DWORD milliseconds)
{
    TextSearch search = {&text, false};
    for (DWORD waited = 0; waited < milliseconds; waited += 500) {
        EnumWindows(MatchWindowText, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return true;
        Sleep(500);
    }
    return false;
}

struct HelpCase {
    const char *file;
    const char *contents;   /* a text of the contents topic */
    const char *topic90;    /* a text of topic 90 */
};

const HelpCase kFiles[] = {
    {"QELENU.HLP", "The display driver comes with two small tools",
     "The QEL tray icon sits in the notification area"},
    {"QELDEU.HLP", "Zum Grafiktreiber geh\xf6ren zwei kleine Programme",
     "Das QEL-Anzeigesymbol steht im Infobereich"},
};

} // namespace

TEST(HelpViewer, ShowsTheContentsAndTopic90)
{
    HWND owner = CreateWindowExA(0, "STATIC", "help owner", WS_POPUP, 0, 0, 10, 10, NULL,
                                 NULL, NULL, NULL);
    for (const HelpCase &c : kFiles) {
        SCOPED_TRACE(c.file);
        std::string path = ProgramFolder() + c.file;
        ASSERT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;

        ASSERT_TRUE(WinHelpA(owner, path.c_str(), HELP_FINDER, 0));
        EXPECT_TRUE(WaitForText(c.contents, 120000));

        ASSERT_TRUE(WinHelpA(owner, path.c_str(), HELP_CONTEXT, 90));
        EXPECT_TRUE(WaitForText(c.topic90, 60000));
    }
    WinHelpA(owner, NULL, HELP_QUIT, 0);
    DestroyWindow(owner);
}
