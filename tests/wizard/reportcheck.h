/*
 * Reading a written report back: its banners, its sections and the lines
 * of the field sections, as the tests expect them.
 */
#ifndef QEL_TEST_REPORTCHECK_H
#define QEL_TEST_REPORTCHECK_H

#include <map>
#include <string>
#include <vector>

extern const std::string generalBanner, customerBanner, systemBanner, osBanner,
    adapterBanner, driverBanner, monitorBanner, problemBanner, filesBanner;

/* The report split at its banners: each section is the text after its
 * banner up to the next one; head is what comes before the first. */
struct ReportSections {
    std::string head, general, customer, system, os, adapter, driver, monitor, problem,
        files;
    bool complete = false;    /* every banner found, in order */
};

ReportSections SplitReport(const std::string &report);

/* What a user types, field by field; the area of the problem (1118) is
 * left empty. */
const std::map<int, std::string> &SampleAnswers();

/* The lines of text that end in CR LF, without it; what follows the last
 * CR LF is left out. */
std::vector<std::string> Lines(const std::string &text);

/* A label padded to 25 columns, and a field line "%-25s  %s\r\n". */
std::string PaddedLabel(const std::string &label);
std::string FieldLine(int fieldId, const std::string &text);
/* Today's date and the time now, as the report's date line formats them. */
std::string DateText();
std::string TimeText();

/* The keys that the platform names for the display adapter and its
 * monitor: on the NT family the display driver section holds the dump of
 * Wine's adapter key, its "Wine Adapter" description among its values, and
 * the monitor section ends with the dump of the monitor's device key; on
 * the Windows 95 family neither section holds them. */
void ExpectDisplayKeys(const std::string &report, bool ntFamily);

#endif
