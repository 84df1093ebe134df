/*
 * Shared pieces of the hostile-input tests: the report text as the writer
 * cuts it, and texts full of format directives.
 */
#ifndef QEL_HOSTILE_H
#define QEL_HOSTILE_H

#include <string>

static const std::string CRLF = "\r\n";

/* Every directive a formatter could act on; each must reach the output
 * as these very characters. */
static const std::string formatDirectives = "%s%n%x%%%d%ld%-25s%1$s%";

/* text as WriteReportText writes it with the given indentation: a first
 * chunk of 70 - indent bytes (indent above 70 counts as 0), then chunks of
 * 70, CR LF between them. */
std::string Wrapped(const std::string &text, unsigned indent);

std::string Repeat(const std::string &text, size_t times);
size_t CountOf(const std::string &text, const std::string &needle);

#endif
