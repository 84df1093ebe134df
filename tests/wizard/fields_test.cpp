/*
 * The field store on real wizard pages in this process, with a private
 * HKEY_LOCAL_MACHINE: labels, preloading, the cross-page lookup, the
 * defaults, saving, and the registry string helpers.
 */
#include <windows.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common.h"
#include "fields.h"
#include "report.h"
#include "sandbox.h"
#include "sheet.h"

static const char wizardKey[] = "System\\CurrentControlSet\\Services\\Class\\Display\\QELPR";
static const char versionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";

static const int savedFields[] = {
    1102, 1100, 1101, 1103, 1104, 1105, 1108, 1106, 1107, 1109, 1110,
    1112, 1113, 1114, 1115, 1116, 1117, 1118, 1119, 1121, 1122, 1123
};

/* A value of the real HKEY_LOCAL_MACHINE of this process (the sandbox's);
 * found is false when the key or the value is missing. */
static std::string StoredValue(const std::string &name, bool *found = NULL)
{
    HKEY key;
    std::string text;
    bool present = false;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, wizardKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        char data[1024];
        DWORD size = sizeof(data), type = 0;
        if (RegQueryValueExA(key, name.c_str(), NULL, &type, reinterpret_cast<BYTE *>(data),
                             &size) == ERROR_SUCCESS) {
            present = true;
            EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << name;
            text.assign(data, size && !data[size - 1] ? size - 1 : size);
        }
        RegCloseKey(key);
    }
    if (found)
        *found = present;
    return text;
}

static DWORD StoredValueCount()
{
    HKEY key;
    DWORD count = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, wizardKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryInfoKeyA(key, NULL, NULL, NULL, NULL, NULL, NULL, &count, NULL, NULL, NULL,
                         NULL);
        RegCloseKey(key);
    }
    return count;
}

TEST(FieldStore, LabelsEveryFieldAndLooksUpItsPage)
{
    RegistrySandbox registry;
    TestWizard wizard;
    wizard.ShowAllPages();
    HWND first = wizard.Page(0);
    for (int fieldId = FIRST_FIELD_ID; fieldId <= LAST_FIELD_ID; fieldId++) {
        HWND holder = FindFieldPage(first, fieldId);
        ASSERT_TRUE(holder != NULL) << fieldId;
        EXPECT_EQ(AnswerFieldQuery(holder, 1, fieldId), reinterpret_cast<LRESULT>(holder));
        char label[256] = "";
        GetDlgItemTextA(holder, fieldId + LABEL_CONTROL_OFFSET, label, sizeof(label));
        EXPECT_FALSE(FieldLabel(fieldId).empty()) << fieldId;
        EXPECT_EQ(label, FieldLabel(fieldId)) << fieldId;
    }
    EXPECT_EQ(FindFieldPage(first, 1100), wizard.Page(1));
    EXPECT_EQ(FindFieldPage(first, FIELD_REPORTFILE), wizard.Page(8));
    EXPECT_TRUE(FindFieldPage(first, 1099) == NULL);
}

TEST(FieldStore, LookupSeesOnlyShownPagesAndOnlyAsksWithOne)
{
    RegistrySandbox registry;
    TestWizard wizard;
    HWND first = wizard.Page(0);
    EXPECT_TRUE(FindFieldPage(first, 1100) == NULL) << "page 1 was never shown";
    HWND second = wizard.Page(1);
    EXPECT_EQ(FindFieldPage(first, 1100), second);
    EXPECT_TRUE(FindFieldPage(second, FIELD_REPORTFILE) == NULL);

    for (WPARAM ask : { 0, 2 }) {
        EXPECT_EQ(SendMessageA(wizard.Sheet(), PSM_QUERYSIBLINGS, ask, 1100), 0) << ask;
        EXPECT_EQ(AnswerFieldQuery(second, ask, 1100), 0) << ask;
    }
}

TEST(FieldStore, PreloadsRememberedValuesOnlyWhereThereIsText)
{
    RegistrySandbox registry;
    registry.SetString(wizardKey, FieldLabel(1100), "Stored Name 100%");
    registry.SetString(wizardKey, FieldLabel(1104), "");
    registry.SetString(wizardKey, FieldLabel(1105), "12345");
    /* Never saved, but preloaded like every field when a value exists. */
    registry.SetString(wizardKey, FieldLabel(1111), "line one\r\nline two");
    registry.SetString(wizardKey, FieldLabel(FIELD_REPORTFILE), "D:\\old.txt");
    registry.SetString(wizardKey, FieldLabel(1121), std::string(300, 'x'));

    TestWizard wizard;
    wizard.ShowAllPages();
    EXPECT_EQ(wizard.Field(1100), "Stored Name 100%");
    EXPECT_EQ(wizard.Field(1105), "12345");
    EXPECT_EQ(wizard.Field(1111), "line one\r\nline two");
    EXPECT_EQ(wizard.Field(FIELD_REPORTFILE), "D:\\old.txt");
    /* A hand-made value too long for the preload buffer shows its start. */
    EXPECT_EQ(wizard.Field(1121), std::string(259, 'x'));

    /* An empty stored value leaves what the field holds. */
    HWND address = FindFieldPage(wizard.Page(0), 1104);
    SetDlgItemTextA(address, 1104, "typed");
    SetDlgItemTextA(address, 1105, "");
    LoadPageFields(address);
    EXPECT_EQ(wizard.Field(1104), "typed");
    EXPECT_EQ(wizard.Field(1105), "12345");
}

/* Answers are remembered under the labels of the module that asked for
 * them: on the German module the wizard finds an answer remembered under
 * its own label, and none of those under English labels. */
TEST(FieldStore, AnswersAreFoundUnderTheLabelsOfTheModuleInUse)
{
    RegistrySandbox registry;
    for (int fieldId : savedFields)
        registry.SetString(wizardKey, FieldLabel(fieldId), "remembered in English");
    HINSTANCE english = WizardResources();
    HINSTANCE german = LoadLibraryA((ProgramFolder() + "QELPRDEU.RSC").c_str());
    ASSERT_TRUE(german != NULL);
    g_resourceModule = german;
    registry.SetString(wizardKey, FieldLabel(1101), "remembered in German");
    {
        TestWizard wizard;
        wizard.ShowAllPages();
        EXPECT_EQ(wizard.Field(1101), "remembered in German");
        for (int fieldId : savedFields) {
            if (fieldId != 1101) {
                EXPECT_EQ(wizard.Field(fieldId), "") << FieldLabel(fieldId);
            }
        }
    }
    g_resourceModule = english;
    FreeLibrary(german);
}

struct OwnerCase {
    const char *name;
    bool versionKey;
    std::string owner, organization;
    const char *typedName;          /* text of field 1100 before, or null */
    std::string wantName, wantOrganization;
};

TEST(FieldStore, OwnerDefaultsFillOnlyEmptyFields)
{
    const std::string longName(40, 'n');
    const OwnerCase cases[] = {
        { "both empty", true, "Jane Roe", "Acme Ltd", NULL, "Jane Roe", "Acme Ltd" },
        { "typed name kept", true, "Jane Roe", "Acme Ltd", "Typed", "Typed", "Acme Ltd" },
        { "long owner cut", true, longName, "Acme", NULL, std::string(30, 'n'), "Acme" },
        { "exactly 30", true, std::string(30, 'o'), "", NULL, std::string(30, 'o'), "" },
        { "no version key", false, "", "", NULL, "", "" },
    };
    for (const OwnerCase &c : cases) {
        SCOPED_TRACE(c.name);
        RegistrySandbox registry;
        if (c.versionKey) {
            registry.SetString(versionKey, "RegisteredOwner", c.owner);
            registry.SetString(versionKey, "RegisteredOrganization", c.organization);
        }
        TestWizard wizard;
        HWND page = wizard.Page(1);
        if (c.typedName)
            SetDlgItemTextA(page, 1100, c.typedName);
        ApplyFieldDefaults(page, 1);
        EXPECT_EQ(wizard.Field(1100), c.wantName);
        EXPECT_EQ(wizard.Field(1103), c.wantOrganization);
    }
}

TEST(FieldStore, DefaultsComeBackWhenTheUserClearsAField)
{
    RegistrySandbox registry;
    registry.SetString(versionKey, "RegisteredOwner", "Registered Owner");
    registry.SetString(wizardKey, FieldLabel(1100), "Remembered Name");
    TestWizard wizard;
    HWND page = wizard.Page(1);
    ApplyFieldDefaults(page, 1);
    EXPECT_EQ(wizard.Field(1100), "Remembered Name");
    SetDlgItemTextA(page, 1100, "");
    ApplyFieldDefaults(page, 1);
    EXPECT_EQ(wizard.Field(1100), "Registered Owner");

    HWND filePage = wizard.Page(8);
    const std::string defaultName = LoadModuleString(WizardResources(), 57);
    ASSERT_FALSE(defaultName.empty());
    ApplyFieldDefaults(filePage, 8);
    EXPECT_EQ(wizard.Field(FIELD_REPORTFILE), defaultName);
    SetDlgItemTextA(filePage, FIELD_REPORTFILE, "D:\\mine.txt");
    ApplyFieldDefaults(filePage, 8);
    EXPECT_EQ(wizard.Field(FIELD_REPORTFILE), "D:\\mine.txt");
    /* Other pages have no defaults: the owner field is not touched. */
    SetDlgItemTextA(page, 1100, "");
    ApplyFieldDefaults(page, 2);
    EXPECT_EQ(wizard.Field(1100), "");
}

TEST(FieldStore, SavesEveryRememberedFieldUnderItsLabel)
{
    RegistrySandbox registry;
    TestWizard wizard;
    wizard.ShowAllPages();
    for (int fieldId = FIRST_FIELD_ID; fieldId <= LAST_FIELD_ID; fieldId++)
        wizard.SetField(fieldId, "text %s " + std::to_string(fieldId));
    wizard.SetField(1117, std::string(300, 'm'));
    wizard.SetField(1119, "");

    SaveFields(wizard.Page(9));
    for (int fieldId : savedFields) {
        bool found = false;
        std::string value = StoredValue(FieldLabel(fieldId), &found);
        EXPECT_TRUE(found) << fieldId;
        if (fieldId == 1117)
            EXPECT_EQ(value, std::string(254, 'm'));
        else if (fieldId == 1119)
            EXPECT_EQ(value, "") << "clearing a field clears what is remembered";
        else
            EXPECT_EQ(value, "text %s " + std::to_string(fieldId));
    }
    EXPECT_EQ(StoredValueCount(), 22u) << "the description and the file name are not kept";
}

TEST(FieldStore, SavingStopsAtTheFirstFieldThatNoPageHolds)
{
    RegistrySandbox registry;
    TestWizard wizard;
    for (int page : { 0, 1, 2, 4, 5, 6, 7, 8, 9 })   /* page 3 never shown */
        wizard.Page(page);
    SaveFields(wizard.Page(9));
    for (int fieldId : savedFields) {
        bool found = false;
        StoredValue(FieldLabel(fieldId), &found);
        EXPECT_EQ(found, fieldId <= 1108) << fieldId;   /* pages 1 and 2 hold 1100 to 1108 */
    }
}

TEST(FieldStore, FieldWithoutLabelStringIsRememberedUnderTheNameItIsLookedUpBy)
{
    RegistrySandbox registry;
    HINSTANCE realStrings = WizardResources();
    g_resourceModule = GetModuleHandleA(NULL);   /* holds no label strings */
    {
        TestWizard wizard;
        wizard.ShowAllPages();
        char label[64] = "";
        GetDlgItemTextA(FindFieldPage(wizard.Page(0), 1100), 1300, label, sizeof(label));
        EXPECT_STREQ(label, "Unknown label 1200");
        wizard.SetField(1100, "Nameless");
        SaveFields(wizard.Page(9));
    }
    EXPECT_EQ(StoredValue("Unknown label 1200"), "Nameless");
    {
        TestWizard wizard;
        wizard.Page(1);
        EXPECT_EQ(wizard.Field(1100), "Nameless");
    }
    g_resourceModule = realStrings;
}

/* The report without the wizard takes each field as a freshly started
 * wizard shows it: the remembered value, or the registered owner and
 * organisation where the remembered one is empty or missing. */
TEST(FieldStore, RememberedAnswersAreWhatTheWizardShowsOnStart)
{
    RegistrySandbox registry;
    registry.SetString(versionKey, "RegisteredOwner", "Registered Owner");
    registry.SetString(versionKey, "RegisteredOrganization", "Registered Org");
    registry.SetString(wizardKey, FieldLabel(1100), "");                  /* cleared */
    registry.SetString(wizardKey, FieldLabel(1101), "Engineer 100% %s");
    registry.SetString(wizardKey, FieldLabel(1104), std::string(300, 's'));   /* hand-edited */
    registry.SetString(wizardKey, FieldLabel(1115), "Flickers");
    registry.SetString(wizardKey, FieldLabel(1111), "Edited into the key");
    registry.SetString(wizardKey, FieldLabel(1122), "2");

    TestWizard wizard;
    wizard.ShowAllPages();
    ApplyFieldDefaults(wizard.Page(1), 1);
    const ReportAnswers *answers = RememberedReportAnswers();
    for (int fieldId = FIRST_FIELD_ID; fieldId <= LAST_FIELD_ID; fieldId++) {
        if (fieldId == FIELD_REPORTFILE)
            continue;   /* named on the command line */
        SCOPED_TRACE(fieldId);
        const std::string shown = wizard.Field(fieldId);
        char text[300];
        ASSERT_TRUE(answers->ReadField(answers, fieldId, text, sizeof(text)));
        EXPECT_EQ(text, shown);
        EXPECT_EQ(answers->FieldLength(answers, fieldId), static_cast<int>(shown.size()));
    }
    EXPECT_EQ(wizard.Field(1100), "Registered Owner") << "the default, not the empty value";
    EXPECT_EQ(wizard.Field(1103), "Registered Org");

    char cut[8];
    answers->ReadField(answers, 1101, cut, sizeof(cut));
    EXPECT_STREQ(cut, "Enginee") << "cut to the caller's buffer";
}

struct ReadCase {
    const char *name;
    bool createKey;
    bool createValue;
    std::string data;     /* bytes stored, as they are */
    DWORD size;           /* buffer capacity */
    std::string want;
};

TEST(RegistryStrings, ReadsAreTerminatedAndNeverOverrunTheBuffer)
{
    const char *key = "Software\\QelTest";
    const ReadCase cases[] = {
        { "no key", false, false, "", 16, "" },
        { "no value", true, false, "", 16, "" },
        { "fits", true, true, std::string("hello", 6), 16, "hello" },
        { "exactly fills", true, true, std::string(15, 'a') + '\0', 16, std::string(15, 'a') },
        { "one too long", true, true, std::string(16, 'b') + '\0', 16, std::string(15, 'b') },
        { "much too long", true, true, std::string(400, 'c') + '\0', 260, std::string(259, 'c') },
        { "no terminator stored", true, true, "abc", 16, "abc" },
        { "no terminator, full", true, true, std::string(16, 'd'), 16, std::string(15, 'd') },
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(c.name);
        RegistrySandbox registry;
        if (c.createKey)
            RegCloseKey(registry.CreateKey(key));
        if (c.createValue)
            registry.SetValue(key, "Value", REG_SZ, c.data.data(), c.data.size());
        std::vector<char> buffer(c.size + 8, '#');
        ReadRegString(HKEY_LOCAL_MACHINE, key, "Value", buffer.data(), c.size);
        EXPECT_EQ(std::string(buffer.data()), c.want);
        EXPECT_EQ(std::string(buffer.data() + c.size, 8), std::string(8, '#'));
    }
}

TEST(RegistryStrings, WriteCreatesTheKeyAndStoresTextWithItsTerminator)
{
    RegistrySandbox registry;
    EXPECT_EQ(WriteRegString(HKEY_LOCAL_MACHINE, "System\\A\\B\\C\\", "Name", "50% off"), 0);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\A\\B\\C", 0, KEY_READ, &key), 0);
    char data[32];
    DWORD size = sizeof(data), type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "Name", NULL, &type, reinterpret_cast<BYTE *>(data), &size),
              0);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 8u);
    EXPECT_STREQ(data, "50% off");

    char back[32];
    ReadRegString(HKEY_LOCAL_MACHINE, "System\\A\\B\\C", "Name", back, sizeof(back));
    EXPECT_STREQ(back, "50% off");
}
