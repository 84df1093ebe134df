/*
 * English texts of the resource modules. The layouts in qelpr.rc and
 * qelic.rc take every text from here, so a translation is one file like
 * this one. Field labels are also the registry value names under which the
 * wizard remembers the answers: keep them short and never change them
 * lightly, or remembered answers are lost.
 */
#pragma code_page(65001)

#define QEL_LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US

/* ---- Wizard ---- */

#define T_PAGETITLE      "Problem Report Wizard"

#define T_PAGE0_TEXT \
    "This wizard helps you to report a problem with your display adapter " \
    "to technical support.\n\n" \
    "It asks for your contact details, a description of your computer, " \
    "of the display adapter and of the problem. It then writes a report " \
    "file that adds the settings of the display driver and of Windows " \
    "that support needs to help you.\n\n" \
    "Click Next to begin."
#define T_PAGE1_TEXT     "Who should technical support contact about this problem?"
#define T_PAGE2_TEXT     "Please enter your postal address."
#define T_PAGE3_TEXT     "How can technical support reach you?"
#define T_PAGE4_TEXT     "Please describe your computer and your monitor."
#define T_PAGE5_TEXT \
    "Please describe your display adapter. You find these details on the " \
    "adapter's box or on the label of the card."
#define T_PAGE6_TEXT     "Please sum up the problem in a few words."
#define T_PAGE7_TEXT \
    "Describe the problem as exactly as you can: what you did, what you " \
    "expected and what happened instead."
#define T_PAGE8_TEXT \
    "Type the name of the file in which the report is to be saved, or " \
    "click Browse to choose it.\n\n" \
    "When you click Next, the report is written. This may take a moment."
#define T_PAGE9_TEXT \
    "The problem report has been written.\n\n" \
    "When you click Finish, the report opens in Notepad so that you can " \
    "read it. Please send the report file to technical support, by e-mail " \
    "or on a diskette.\n\n" \
    "Your answers are remembered for the next report."
#define T_BROWSE         "B&rowse..."

/* Field labels (at most 24 characters). */
#define L_NAME           "Name"
#define L_JOBTITLE       "Job title"
#define L_SALUTATION     "Salutation"
#define L_COMPANY        "Company"
#define L_STREET         "Street"
#define L_POSTCODE       "Postal code"
#define L_STATE          "State or province"
#define L_COUNTRY        "Country"
#define L_CITY           "City"
#define L_PHONE          "Telephone"
#define L_FAX            "Fax"
#define L_DESCRIPTION    "Problem description"
#define L_EMAIL          "E-mail"
#define L_CALLTIME       "Best time to call"
#define L_COMPUTER       "Computer model"
#define L_SUMMARY        "Problem summary"
#define L_PROCESSOR      "Processor"
#define L_MEMORY         "Memory (MB)"
#define L_APPLICATION    "Program in use"
#define L_MONITOR        "Monitor model"
#define L_REPORTFILE     "Report file"
#define L_ADAPTER        "Adapter model"
#define L_VIDEOMEMORY    "Video memory (MB)"
#define L_SERIALNUMBER   "Serial number"

#define T_FILECAPTION    "Problem Report Wizard"
#define T_NOFILENAME     "Please type the name of the report file."
#define T_CANNOTCREATE \
    "The report file cannot be created. Please check that the folder " \
    "exists and that the disk is not write-protected or full."
#define T_REPLACEFILE    "This file already exists. Do you want to replace it?"

/* Save As dialog errors, by string id. */
#define T_SAVEAS30       "The Save As dialog box could not find one of its resources."
#define T_SAVEAS31       "The Save As dialog box could not be started. There may not be enough memory."
#define T_SAVEAS32       "The Save As dialog box could not load one of its resources."
#define T_SAVEAS33       "The Save As dialog box could not lock one of its resources."
#define T_SAVEAS34       "The Save As dialog box could not load one of its texts."
#define T_SAVEAS35       "There is not enough memory for the Save As dialog box."
#define T_SAVEAS36       "The Save As dialog box could not lock its memory."
#define T_SAVEAS37       "The Save As dialog box was called in a way it does not understand."
#define T_SAVEAS38       "The Save As dialog box could not find its layout."
#define T_SAVEAS39       "The Save As dialog box was not told where to find its layout."
#define T_SAVEAS40       "The Save As dialog box was not given its hook procedure."
#define T_SAVEAS41       "The Save As dialog box could not create its list of files. There may not be enough memory."
#define T_SAVEAS42       "The file name is not valid."
#define T_SAVEAS43       "The file name is too long."
#define T_SAVEAS44       "The Save As dialog box failed."

#define T_SAVEASFILTER   "Text files (*.txt)|*.txt|All files (*.*)|*.*|"
#define T_SAVEASTITLE    "Save Problem Report As"
#define T_DEFAULTFILE    "C:\\QELPR.TXT"

/* Retail notice at the top of the report: one line each, with its own
 * line end, at most 68 characters before it. */
#define T_RETAIL200      "NOTE: THIS DISPLAY ADAPTER IS A RETAIL PRODUCT.\r\n"
#define T_RETAIL201      "\r\n"
#define T_RETAIL202      "Technical support for retail products is given by the company\r\n"
#define T_RETAIL203      "that sold you the display adapter, or the computer it came with.\r\n"
#define T_RETAIL204      "Please send this report to the technical support of that company\r\n"
#define T_RETAIL205      "together with a copy of your proof of purchase, or call the\r\n"
#define T_RETAIL206      "support number given in the documentation of the adapter.\r\n"
#define T_RETAIL207      "Thank you.\r\n"
#define T_RETAIL208      "\r\n"

/* ---- Tray utility ---- */

#define T_TIP_NOMODE     "No display mode available"
#define T_TIP_DESKTOP    "Desktop"
#define T_TIP_SCREEN     "Screen"
#define T_TIP_COLOURS    "Colours"
#define T_TIP_BITS       "bits"
#define T_MENU_SETTINGS  "&Display settings"
#define T_MENU_SCHEMES   "&Colour schemes"
#define T_MENU_CONTENTS  "&Help topics"
#define T_MENU_QUICKHELP "&About this icon"
#define T_MENU_EXIT      "E&xit"
#define T_MENU_DEFSCHEME "Default colours"
#define T_MENU_EMPTY     "(none stored)"
#define T_WARN_CAPTION   "QEL Tray Icon"
#define T_WARN_TEXT      "This command is not available."
