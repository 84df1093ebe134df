#include "hostile.h"

std::string Wrapped(const std::string &text, unsigned indent)
{
    if (indent > 70)
        indent = 0;
    size_t room = 70 - indent;
    std::string out;
    out.reserve(text.size() + text.size() / 35 + 2);
    out.append(text, 0, room);
    for (size_t at = room; at < text.size(); at += 70)
        out.append(CRLF).append(text, at, 70);
    return out;
}

std::string Repeat(const std::string &text, size_t times)
{
    std::string all;
    all.reserve(text.size() * times);
    while (times-- > 0)
        all += text;
    return all;
}

size_t CountOf(const std::string &text, const std::string &needle)
{
    size_t count = 0;
    for (size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + needle.size()))
        count++;
    return count;
}
