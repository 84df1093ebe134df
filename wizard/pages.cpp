/*
 * The one dialog procedure of all ten wizard pages. It keeps the index of
 * the page that is showing, offers the buttons that fit it, and guards
 * the step from the report file page, where the report is written.
 */
#include "wizard.h"
#include "fields.h"
#include "report.h"

#include <prsht.h>

HINSTANCE g_programInstance;

/* Index of the page that is showing. It moves while the old page handles
 * Next or Back, before the sheet activates the new page, so the new
 * page's activation and painting already see its own index. */
static int g_pageIndex;

static void OfferPageButtons(HWND page)
{
    LPARAM buttons = PSWIZB_BACK | PSWIZB_NEXT;
    if (g_pageIndex == 0)
        buttons = PSWIZB_NEXT;
    else if (g_pageIndex == WIZARD_PAGE_COUNT - 1)
        buttons = PSWIZB_FINISH;   /* the report is written: no way back */
    PostMessageA(GetParent(page), PSM_SETWIZBUTTONS, 0, buttons);
}

static INT_PTR StayOnPage(HWND page)
{
    SetWindowLongA(page, DWL_MSGRESULT, -1);
    return TRUE;
}

static int WriteReportWithWaitCursor(HWND page)
{
    HCURSOR previous = SetCursor(LoadCursor(NULL, IDC_WAIT));
    int written = ComposeReport(page);
    SetCursor(previous);
    return written;
}

static INT_PTR OnWizardNext(HWND page)
{
    if (g_pageIndex == REPORT_FILE_PAGE) {
        if (!ValidateReportFileName(page))
            return StayOnPage(page);
        SendMessageA(GetParent(page), PSM_CANCELTOCLOSE, 0, 0);
        if (!WriteReportWithWaitCursor(page))
            return StayOnPage(page);
    }
    g_pageIndex++;
    return FALSE;
}

static INT_PTR OnNotify(HWND page, const NMHDR *header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        if (g_pageIndex == 1 || g_pageIndex == REPORT_FILE_PAGE)
            ApplyFieldDefaults(page, g_pageIndex);
        OfferPageButtons(page);
        return FALSE;
    case PSN_WIZNEXT:
        return OnWizardNext(page);
    case PSN_WIZBACK:
        g_pageIndex--;
        return FALSE;
    case PSN_WIZFINISH:
        SaveFields(page);
        OpenReportInViewer(page);
        return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK WizardPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        LoadPageFields(page);
        return TRUE;
    case WM_PAINT:
        PaintPageBitmap(page, FIRST_PICTURE_ID + g_pageIndex);
        return FALSE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == BROWSE_BUTTON_ID)
            BrowseReportFile(page);
        return FALSE;
    case PSM_QUERYSIBLINGS:
        SetWindowLongA(page, DWL_MSGRESULT, AnswerFieldQuery(page, wParam, lParam));
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR *>(lParam));
    }
    return FALSE;
}
