#include "reportcheck.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "sheet.h"

static std::string Banner(const char *rule)
{
    return std::string("\r\n\r\n") + rule + "\r\n\r\n";
}

const std::string generalBanner = Banner(
    "===============================GENERAL=================================");
const std::string customerBanner = Banner(
    "=========================CUSTOMER INFORMATION==========================");
const std::string systemBanner = Banner(
    "==========================SYSTEM INFORMATION===========================");
const std::string osBanner = Banner(
    "============================O/S INFORMATION============================");
const std::string adapterBanner = Banner(
    "======================DISPLAY ADAPTER INFORMATION======================");
const std::string driverBanner = Banner(
    "======================DISPLAY DRIVER INFORMATION=======================");
const std::string monitorBanner = Banner(
    "==========================MONITOR INFORMATION==========================");
const std::string problemBanner = Banner(
    "==========================PROBLEM INFORMATION==========================");
const std::string filesBanner = Banner(
    "=================================FILES=================================");

ReportSections SplitReport(const std::string &report)
{
    const std::string *banners[] = { &generalBanner, &customerBanner, &systemBanner,
                                     &osBanner, &adapterBanner, &driverBanner,
                                     &monitorBanner, &problemBanner, &filesBanner };
    ReportSections s;
    std::string *parts[] = { &s.head, &s.general, &s.customer, &s.system, &s.os,
                             &s.adapter, &s.driver, &s.monitor, &s.problem };
    size_t at = 0;
    for (int i = 0; i < 9; i++) {
        size_t found = report.find(*banners[i], at);
        if (found == std::string::npos)
            return s;
        *parts[i] = report.substr(at, found - at);
        at = found + banners[i]->size();
    }
    s.files = report.substr(at);
    s.complete = true;
    return s;
}

std::string PaddedLabel(const std::string &label)
{
    return label.size() >= 25 ? label : label + std::string(25 - label.size(), ' ');
}

std::string FieldLine(int fieldId, const std::string &text)
{
    return PaddedLabel(FieldLabel(fieldId)) + "  " + text + "\r\n";
}

static std::string NowText(bool date)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[64] = "";
    if (date)
        GetDateFormatA(0, 0, &now, NULL, text, sizeof(text));
    else
        GetTimeFormatA(0, 0, &now, NULL, text, sizeof(text));
    return text;
}

const std::map<int, std::string> &SampleAnswers()
{
    static const std::map<int, std::string> answers = {
        { 1102, "Ms" }, { 1100, "Jane 100% Doe" }, { 1101, "Engineer %s" },
        { 1103, "Acme %d Ltd" }, { 1104, "1 Main Street" }, { 1105, "12345" },
        { 1108, "Springfield" }, { 1106, "State" }, { 1107, "Country" },
        { 1109, "555-0100" }, { 1110, "555-0101" }, { 1112, "jane@example.com" },
        { 1113, "Mornings" }, { 1114, "Tower PC" }, { 1116, "Pentium" }, { 1117, "16" },
        { 1119, "Monitor 17" }, { 1121, "QEL 2000" }, { 1122, "2" }, { 1123, "SN-42" },
        { 1115, "Screen flickers at 75 Hz" }, { 1118, "" },
        { 1111, std::string(75, 'a') + "\r\nsecond 100% line" },
    };
    return answers;
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

std::string DateText() { return NowText(true); }
std::string TimeText() { return NowText(false); }

void ExpectDisplayKeys(const std::string &report, bool ntFamily)
{
    const std::string adapterHeader = "\r\n[System\\CurrentControlSet\\Control\\Video\\{";
    /* Wine's monitor key, its header cut at 70 columns. */
    const std::string monitorDump =
        "\r\n[System\\CurrentControlSet\\Control\\Class\\{4D36E96E-E325-11CE-BFC1-08002\r\n"
        "BE10318}\\0000\\]\r\n";
    ReportSections s = SplitReport(report);
    ASSERT_TRUE(s.complete) << report;
    const size_t adapter = s.driver.find(adapterHeader);
    if (ntFamily) {
        ASSERT_NE(adapter, std::string::npos) << s.driver;
        EXPECT_NE(s.driver.find("DriverDesc = Wine Adapter\r\n", adapter), std::string::npos)
            << s.driver;
        EXPECT_TRUE(s.monitor.size() >= monitorDump.size() &&
                    s.monitor.compare(s.monitor.size() - monitorDump.size(), monitorDump.size(),
                                      monitorDump) == 0)
            << s.monitor;
    } else {
        EXPECT_EQ(adapter, std::string::npos) << s.driver;
        EXPECT_EQ(s.driver.find("Wine Adapter"), std::string::npos) << s.driver;
        EXPECT_EQ(s.monitor.find("\\Control\\Class\\"), std::string::npos) << s.monitor;
    }
}
