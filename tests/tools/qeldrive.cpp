/*
 * qeldrive: runs the wizard and answers it from a script, the way a user
 * would. Used for the headless run and for the pictures of the pages.
 *
 *   qeldrive.exe <wizard program> <script> [picture folder]
 *
 * Script lines (blank lines and lines starting with # are skipped):
 *   page <index>           wait until that page is showing
 *   field <id> <text>      type text into a field of the page ("\n": new line)
 *   next | back | finish | cancel
 *                          press the button once the wizard offers it
 *   box <yes|no|ok>        wait for a message box, show its text, answer it
 *   picture <name>         save the wizard window as <folder>\<name>.bmp
 *   end                    wait for the wizard to end
 * Ends with 0 when every line was carried out and the wizard ended with 0.
 */
#include "automation.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static std::string ExpandLineBreaks(const std::string &text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += "\r\n";
            i++;
        } else {
            out += text[i];
        }
    }
    return out;
}

/* The pixels of the window as the screen shows them, bottom-up 24-bit rows. */
static std::string CaptureWindow(HWND window, BITMAPINFOHEADER *format)
{
    RECT rect;
    GetWindowRect(window, &rect);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = rect.right - rect.left;
    info.bmiHeader.biHeight = rect.bottom - rect.top;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    DWORD stride = (info.bmiHeader.biWidth * 3 + 3) & ~3u;
    info.bmiHeader.biSizeImage = stride * info.bmiHeader.biHeight;
    *format = info.bmiHeader;

    HDC screen = GetDC(NULL);
    void *bits = NULL;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    std::string pixels;
    if (bitmap) {
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, info.bmiHeader.biWidth, info.bmiHeader.biHeight, screen,
               rect.left, rect.top, SRCCOPY);
        GdiFlush();
        pixels.assign(static_cast<const char *>(bits), info.bmiHeader.biSizeImage);
        SelectObject(memory, previous);
        DeleteDC(memory);
        DeleteObject(bitmap);
    }
    ReleaseDC(NULL, screen);
    return pixels;
}

/* Shows the wizard as a user sees it between two keystrokes: the focus on
 * its default button, so that no field shows a caret that blinks, and the
 * title bar drawn active, which Wine without a window manager may leave
 * drawn inactive. */
static void SteadyForPicture(HWND sheet)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(sheet, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    if (HIWORD(result) == DC_HASDEFID)
        if (HWND button = GetDlgItem(sheet, LOWORD(result)))
            SendMessageTimeoutA(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE,
                                SMTO_ABORTIFHUNG, 5000, &result);
    SendMessageTimeoutA(sheet, WM_NCACTIVATE, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &result);
}

/* Saves the window once it has finished painting: a busy wizard may take
 * a while to draw a page that has just been shown. */
static bool SavePicture(HWND window, const std::string &path)
{
    SteadyForPicture(window);
    BITMAPINFOHEADER format;
    std::string pixels = CaptureWindow(window, &format);
    for (int tries = 0, same = 0; tries < 30 && same < 3; tries++) {
        Sleep(400);
        std::string again = CaptureWindow(window, &format);
        same = again == pixels ? same + 1 : 0;
        pixels = again;
    }
    if (pixels.empty())
        return false;

    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(header) + sizeof(format);
    header.bfSize = header.bfOffBits + pixels.size();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written;
    WriteFile(file, &header, sizeof(header), &written, NULL);
    WriteFile(file, &format, sizeof(format), &written, NULL);
    WriteFile(file, pixels.data(), pixels.size(), &written, NULL);
    CloseHandle(file);
    return true;
}

static int ButtonOfCommand(const std::string &command)
{
    if (command == "next")
        return WIZARD_NEXT;
    if (command == "back")
        return WIZARD_BACK;
    if (command == "finish")
        return WIZARD_FINISH;
    if (command == "cancel")
        return WIZARD_CANCEL;
    return 0;
}

static int AnswerOfWord(const std::string &word)
{
    if (word == "yes")
        return IDYES;
    if (word == "no")
        return IDNO;
    if (word == "ok")
        return IDOK;
    return 0;
}

struct Run {
    PROCESS_INFORMATION process;
    HWND sheet;
    std::string pictureFolder;
};

/* Carries out one script line; false with a message on failure. */
static bool RunLine(Run &run, const std::string &command, const std::string &argument)
{
    if (command == "page") {
        int index = atoi(argument.c_str());
        if (WaitForPage(run.sheet, index))
            return true;
        fprintf(stderr, "qeldrive: page %d did not show (page %d is showing)\n", index,
                CurrentPageIndex(run.sheet));
        return false;
    }
    if (command == "field") {
        size_t space = argument.find(' ');
        int fieldId = atoi(argument.substr(0, space).c_str());
        std::string text = space == std::string::npos ? "" : argument.substr(space + 1);
        if (SetFieldText(run.sheet, fieldId, ExpandLineBreaks(text)))
            return true;
        fprintf(stderr, "qeldrive: field %d is not on the page\n", fieldId);
        return false;
    }
    if (int button = ButtonOfCommand(command)) {
        if (PressButton(run.sheet, button))
            return true;
        fprintf(stderr, "qeldrive: the wizard does not offer %s\n", command.c_str());
        return false;
    }
    if (command == "box") {
        HWND box = WaitForMessageBox(run.process.dwProcessId);
        if (!box) {
            fprintf(stderr, "qeldrive: no message box\n");
            return false;
        }
        printf("message: %s: %s\n", WindowText(box).c_str(), MessageBoxText(box).c_str());
        return AnswerMessageBox(box, AnswerOfWord(argument));
    }
    if (command == "picture") {
        if (run.pictureFolder.empty())
            return true;
        return SavePicture(run.sheet, run.pictureFolder + "\\" + argument + ".bmp");
    }
    if (command == "end") {
        long code = WaitForExit(run.process);
        printf("wizard ended with %ld\n", code);
        return code == 0;
    }
    fprintf(stderr, "qeldrive: unknown command %s\n", command.c_str());
    return false;
}

static bool RunScript(Run &run, FILE *script)
{
    char line[2048];
    while (fgets(line, sizeof(line), script)) {
        line[strcspn(line, "\r\n")] = '\0';
        if (!line[0] || line[0] == '#')
            continue;
        std::string text(line);
        size_t space = text.find(' ');
        std::string command = text.substr(0, space);
        std::string argument = space == std::string::npos ? "" : text.substr(space + 1);
        printf("> %s\n", line);
        fflush(stdout);
        if (!RunLine(run, command, argument))
            return false;
    }
    return true;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: qeldrive <wizard program> <script> [picture folder]\n");
        return 2;
    }
    FILE *script = fopen(argv[2], "r");
    if (!script) {
        fprintf(stderr, "qeldrive: cannot read %s\n", argv[2]);
        return 2;
    }

    std::string program = argv[1];
    std::string folder = program.substr(0, program.find_last_of("\\/") + 1);
    Run run = { StartProgram(program, folder), NULL, argc > 3 ? argv[3] : "" };
    if (!run.process.hProcess) {
        fprintf(stderr, "qeldrive: cannot start %s\n", argv[1]);
        return 2;
    }
    run.sheet = WaitForWizard(run.process.dwProcessId);
    bool done = run.sheet && RunScript(run, script);
    if (!run.sheet)
        fprintf(stderr, "qeldrive: the wizard did not show\n");
    fclose(script);
    CloseProgram(run.process);
    return done ? 0 : 1;
}
