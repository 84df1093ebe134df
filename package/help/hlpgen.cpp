/*
 * hlpgen: builds a Windows help file (.HLP, the Windows 3.1 format that
 * WinHelp and its successors read) from a small text source.
 *
 *   hlpgen source.txt output.hlp
 *
 * Source, UTF-8 (written out as Windows-1252):
 *   # comment
 *   .title Help file title
 *   .window name x y width height Caption text   (0..1023 screen units)
 *   .topic CONTEXT [number] Topic title           (the first is the contents)
 *   .heading Heading text
 *   Paragraph text over one or more lines, ended by an empty line;
 *   {shown text|CONTEXT} is a jump to another topic.
 *
 * The file holds an internal directory (a B+ tree) of internal files:
 * |SYSTEM (header, title, contents topic, secondary windows), |FONT,
 * |TOPIC (uncompressed 4 KB topic blocks), |CONTEXT (hash of context
 * name to topic), |CTXOMAP (context number to topic) and |TTLBTREE
 * (topic titles). Every topic starts a topic block of its own, so its
 * topic offset is simply block number * 0x8000.
 * Runs on the build machine; plain C++ without Windows headers.
 */
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

typedef std::vector<uint8_t> Bytes;

[[noreturn]] void Fail(const std::string &why)
{
    std::cerr << "hlpgen: " << why << "\n";
    std::exit(1);
}

void Put8(Bytes &b, unsigned v) { b.push_back(uint8_t(v)); }
void Put16(Bytes &b, unsigned v) { Put8(b, v & 0xFF); Put8(b, (v >> 8) & 0xFF); }
void Put32(Bytes &b, uint32_t v) { Put16(b, v & 0xFFFF); Put16(b, v >> 16); }
void PutZ(Bytes &b, const std::string &s) { b.insert(b.end(), s.begin(), s.end()); Put8(b, 0); }
void PutFixed(Bytes &b, const std::string &s, size_t size)
{
    if (s.size() >= size)
        Fail("text too long for its field: " + s);
    PutZ(b, s);
    b.resize(b.size() + size - s.size() - 1, 0);
}
void Append(Bytes &b, const Bytes &more) { b.insert(b.end(), more.begin(), more.end()); }

/* The variable-length numbers of topic records: the low bit of the first
 * byte tells the short form from the long one. */
void PutCompressedSignedLong(Bytes &b, long v)
{
    if (v >= -0x4000 && v < 0x4000)
        Put16(b, unsigned((v + 0x4000) << 1));
    else
        Put32(b, (uint32_t(v + 0x40000000) << 1) | 1);
}
void PutCompressedUnsignedShort(Bytes &b, unsigned v)
{
    if (v < 0x80)
        Put8(b, v << 1);
    else if (v < 0x8000)
        Put16(b, (v << 1) | 1);
    else
        Fail("number too large for a topic record");
}
void PutCompressedSignedShort(Bytes &b, int v)
{
    if (v >= -0x40 && v < 0x40)
        Put8(b, unsigned((v + 0x40) << 1));
    else
        Put16(b, (unsigned(v + 0x4000) << 1) | 1);
}

/* Hash of a context name, as the |CONTEXT tree and jumps use it. */
int32_t ContextHash(const std::string &name)
{
    uint32_t hash = 0;
    for (unsigned char c : name) {
        unsigned x = 0;
        if (c >= 'A' && c <= 'Z') x = c - 'A' + 17;
        else if (c >= 'a' && c <= 'z') x = c - 'a' + 17;
        else if (c >= '1' && c <= '9') x = c - '0';
        else if (c == '0') x = 10;
        else if (c == '.') x = 12;
        else if (c == '_') x = 13;
        else Fail("context names use letters, digits, '.' and '_': " + name);
        hash = hash * 43 + x;
    }
    return int32_t(hash);
}

/* ---- The source ---- */

struct Span {
    std::string text;
    std::string target;     /* context of a jump; empty for plain text */
};

struct Paragraph {
    unsigned font = 0;      /* 0 body text, 1 heading */
    std::vector<Span> spans;
};

struct Topic {
    std::string context;
    long number = -1;       /* context number, -1 for none */
    std::string title;
    std::vector<Paragraph> paragraphs;
};

struct Window {
    std::string name, caption;
    int x = 0, y = 0, width = 0, height = 0;
};

struct HelpSource {
    std::string title;
    std::vector<Window> windows;
    std::vector<Topic> topics;
};

/* UTF-8 to Windows-1252 for the Latin-1 letters the texts use. */
std::string ToAnsi(const std::string &utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size(); i++) {
        unsigned char c = utf8[i];
        if (c < 0x80) {
            out += char(c);
        } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            unsigned code = ((c & 0x1F) << 6) | (utf8[++i] & 0x3F);
            if (code > 0xFF)
                Fail("character outside Latin-1 in: " + utf8);
            out += char(code);
        } else {
            Fail("character outside Latin-1 in: " + utf8);
        }
    }
    return out;
}

std::vector<Span> ParseSpans(const std::string &text)
{
    std::vector<Span> spans;
    size_t at = 0;
    while (at < text.size()) {
        size_t open = text.find('{', at);
        if (open == std::string::npos) {
            spans.push_back({text.substr(at), ""});
            break;
        }
        size_t bar = text.find('|', open);
        size_t close = text.find('}', open);
        if (bar == std::string::npos || close == std::string::npos || bar > close)
            Fail("a jump is written {text|CONTEXT}: " + text);
        if (open > at)
            spans.push_back({text.substr(at, open - at), ""});
        spans.push_back({text.substr(open + 1, bar - open - 1),
                         text.substr(bar + 1, close - bar - 1)});
        at = close + 1;
    }
    return spans;
}

HelpSource ReadSource(const char *path)
{
    std::ifstream in(path);
    if (!in)
        Fail(std::string("cannot read ") + path);
    HelpSource source;
    std::string line, paragraph;

    auto endParagraph = [&]() {
        if (paragraph.empty())
            return;
        if (source.topics.empty())
            Fail("text before the first .topic");
        Paragraph p;
        p.spans = ParseSpans(paragraph);
        source.topics.back().paragraphs.push_back(p);
        paragraph.clear();
    };

    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        line = ToAnsi(line);
        if (!line.empty() && line[0] == '#')
            continue;
        if (line.empty()) {
            endParagraph();
            continue;
        }
        if (line[0] != '.') {
            paragraph += (paragraph.empty() ? "" : " ") + line;
            continue;
        }
        endParagraph();
        std::istringstream words(line);
        std::string keyword, rest;
        words >> keyword;
        if (keyword == ".title") {
            std::getline(words >> std::ws, source.title);
        } else if (keyword == ".window") {
            Window w;
            if (!(words >> w.name >> w.x >> w.y >> w.width >> w.height))
                Fail("bad .window line: " + line);
            std::getline(words >> std::ws, w.caption);
            source.windows.push_back(w);
        } else if (keyword == ".topic") {
            Topic t;
            words >> t.context;
            std::getline(words >> std::ws, rest);
            size_t digits = 0;
            while (digits < rest.size() && isdigit((unsigned char)rest[digits]))
                digits++;
            if (digits > 0 && (digits == rest.size() || rest[digits] == ' ')) {
                t.number = std::stol(rest.substr(0, digits));
                rest = rest.substr(std::min(rest.size(), digits + 1));
            }
            t.title = rest;
            if (t.context.empty() || t.title.empty())
                Fail("a topic needs a context name and a title: " + line);
            source.topics.push_back(t);
        } else if (keyword == ".heading") {
            if (source.topics.empty())
                Fail(".heading before the first .topic");
            Paragraph p;
            p.font = 1;
            std::getline(words >> std::ws, rest);
            p.spans.push_back({rest, ""});
            source.topics.back().paragraphs.push_back(p);
        } else {
            Fail("unknown line: " + line);
        }
    }
    endParagraph();
    if (source.topics.empty())
        Fail("no topics");
    return source;
}

/* ---- Internal files ---- */

const unsigned kTopicBlockSize = 4096;
const unsigned kBlockHeaderSize = 12;
const unsigned kTopicLinkHeaderSize = 21;
const uint32_t kNone = 0xFFFFFFFF;

/* A B+ tree of one leaf page: enough for the few entries of a help file
 * of this size. Entries must come sorted. */
Bytes BuildBTree(const std::string &structure, unsigned pageSize, bool directory,
                 const std::vector<Bytes> &entries)
{
    Bytes page;
    for (const Bytes &e : entries)
        Append(page, e);
    if (page.size() + 8 > pageSize)
        Fail("too many entries for one B+ tree page");

    Bytes tree;
    Put16(tree, 0x293B);                          /* magic */
    Put16(tree, 0x0002 | (directory ? 0x0400 : 0));
    Put16(tree, pageSize);
    PutFixed(tree, structure, 16);
    Put16(tree, 0);                               /* must be zero */
    Put16(tree, 0);                               /* page splits */
    Put16(tree, 0);                               /* root page */
    Put16(tree, 0xFFFF);                          /* must be -1 */
    Put16(tree, 1);                               /* total pages */
    Put16(tree, 1);                               /* levels */
    Put32(tree, uint32_t(entries.size()));

    Put16(tree, unsigned(pageSize - 8 - page.size()));   /* free bytes */
    Put16(tree, unsigned(entries.size()));
    Put16(tree, 0xFFFF);                          /* previous page */
    Put16(tree, 0xFFFF);                          /* next page */
    Append(tree, page);
    tree.resize(tree.size() + pageSize - 8 - page.size(), 0);
    return tree;
}

/* One topic link record before its positions are known. */
struct TopicLink {
    unsigned type;          /* 2 topic header, 0x20 text */
    Bytes data1, data2;     /* data1 of a topic header is filled in late */
    size_t topic;
    uint32_t pos = 0;       /* its topic position: block * 0x4000 + offset */
    size_t Size() const { return kTopicLinkHeaderSize + data1.size() + data2.size(); }
};

/* The text record of a paragraph: the formatting commands in data1, the
 * texts they stand between in data2 (each text ended by a zero byte and
 * followed by its command). */
TopicLink TextLink(const Paragraph &p, size_t topic)
{
    Bytes commands, texts;
    std::string pending;
    unsigned length = 0;
    /* Each command follows the text that stands before it. */
    auto command = [&](unsigned code) {
        PutZ(texts, pending);
        length += unsigned(pending.size());
        pending.clear();
        Put8(commands, code);
    };

    command(0x80);                        /* font */
    Put16(commands, p.font);
    for (const Span &s : p.spans) {
        if (!s.target.empty()) {
            command(0xE3);                /* jump to the topic of a hash */
            Put32(commands, uint32_t(ContextHash(s.target)));
            pending = s.text;
            command(0x89);                /* end of the jump's text */
        } else {
            pending += s.text;
        }
    }
    command(0x82);                        /* end of paragraph */
    Put8(commands, 0xFF);                 /* end of commands */

    TopicLink link;
    link.type = 0x20;
    link.topic = topic;
    PutCompressedSignedLong(link.data1, long(texts.size()));
    PutCompressedUnsignedShort(link.data1, length);
    Put8(link.data1, 0x00);               /* paragraph info: unknown */
    Put8(link.data1, 0x80);               /* biased zero */
    Put16(link.data1, 0);                 /* id */
    Put16(link.data1, 0x0002);            /* bits: space above follows */
    PutCompressedSignedShort(link.data1, p.font == 1 ? 12 : 6);
    Append(link.data1, commands);
    link.data2 = texts;
    return link;
}

struct TopicFile {
    Bytes data;
    std::vector<uint32_t> topicOffset;    /* by topic index */
};

TopicFile BuildTopicFile(const HelpSource &source)
{
    std::vector<TopicLink> links;
    for (size_t t = 0; t < source.topics.size(); t++) {
        TopicLink header;
        header.type = 2;
        header.topic = t;
        header.data1.resize(28);
        PutZ(header.data2, source.topics[t].title);
        links.push_back(header);
        for (const Paragraph &p : source.topics[t].paragraphs)
            links.push_back(TextLink(p, t));
    }

    /* Place the records: every topic opens a block; a record that does
     * not fit the rest of a block goes to the next one. */
    const unsigned capacity = kTopicBlockSize - kBlockHeaderSize;
    std::vector<unsigned> block(links.size()), offset(links.size());
    unsigned current = 0, used = 0;
    for (size_t i = 0; i < links.size(); i++) {
        if (links[i].Size() > capacity)
            Fail("a paragraph is too long for a topic block");
        if ((links[i].type == 2 && i > 0) || used + links[i].Size() > capacity) {
            current++;
            used = 0;
        }
        block[i] = current;
        offset[i] = used;
        links[i].pos = (current << 14) + kBlockHeaderSize + used;
        used += unsigned(links[i].Size());
    }
    /* Readers look well past a record's start: leave room after the last. */
    unsigned blocks = current + 1 + (used + 0x44 > capacity ? 1 : 0);

    TopicFile file;
    for (size_t i = 0; i < links.size(); i++)
        if (links[i].type == 2)
            file.topicOffset.push_back(block[i] * 0x8000);

    /* Topic headers, now that positions are known. */
    for (size_t i = 0; i < links.size(); i++) {
        if (links[i].type != 2)
            continue;
        size_t end = i + 1;
        uint32_t size = uint32_t(links[i].Size());
        while (end < links.size() && links[end].type != 2)
            size += uint32_t(links[end++].Size());
        Bytes &h = links[i].data1;
        h.clear();
        Put32(h, size);                                   /* block size */
        Put32(h, kNone);                                  /* browse back */
        Put32(h, kNone);                                  /* browse forward */
        Put32(h, uint32_t(links[i].topic));               /* topic number */
        Put32(h, kNone);                                  /* non-scrolling region */
        Put32(h, end > i + 1 ? links[i + 1].pos : kNone); /* scrolling region */
        Put32(h, end < links.size() ? links[end].pos : kNone); /* next topic */
    }

    file.data.assign(size_t(blocks) * kTopicBlockSize, 0);
    uint32_t lastHeader = kNone;
    for (unsigned b = 0; b < blocks; b++) {
        Bytes head;
        uint32_t lastInPrevious = kNone, first = kNone;
        for (size_t i = 0; i < links.size(); i++) {
            if (block[i] < b)
                lastInPrevious = links[i].pos;
            if (block[i] == b && first == kNone)
                first = links[i].pos;
        }
        Put32(head, lastInPrevious);
        Put32(head, first);
        Put32(head, lastHeader);
        std::copy(head.begin(), head.end(), file.data.begin() + size_t(b) * kTopicBlockSize);
        for (size_t i = 0; i < links.size(); i++)
            if (block[i] == b && links[i].type == 2)
                lastHeader = links[i].pos;
    }
    for (size_t i = 0; i < links.size(); i++) {
        const TopicLink &l = links[i];
        Bytes r;
        Put32(r, uint32_t(l.Size()));                               /* block size */
        Put32(r, uint32_t(l.data2.size()));                         /* data2 length */
        Put32(r, i > 0 ? links[i - 1].pos : kNone);                 /* previous */
        Put32(r, i + 1 < links.size() ? links[i + 1].pos : kNone);  /* next */
        Put32(r, uint32_t(kTopicLinkHeaderSize + l.data1.size()));  /* data1 length */
        Put8(r, l.type);
        Append(r, l.data1);
        Append(r, l.data2);
        size_t at = size_t(block[i]) * kTopicBlockSize + kBlockHeaderSize + offset[i];
        std::copy(r.begin(), r.end(), file.data.begin() + at);
    }
    return file;
}

Bytes BuildSystem(const HelpSource &source, uint32_t contents)
{
    Bytes s;
    Put16(s, 0x036C);                     /* magic */
    Put16(s, 21);                         /* minor version: Windows 3.1 */
    Put16(s, 1);                          /* major version */
    Put32(s, uint32_t(std::time(nullptr)));
    Put16(s, 0);                          /* topic blocks not compressed */

    auto record = [&](unsigned type, const Bytes &data) {
        Put16(s, type);
        Put16(s, unsigned(data.size()));
        Append(s, data);
    };
    Bytes title;
    PutZ(title, source.title);
    record(1, title);
    Bytes start;
    Put32(start, contents);
    record(3, start);
    for (const Window &w : source.windows) {
        Bytes d;
        Put16(d, 0x0002 | 0x0004 | 0x0008 | 0x0010 | 0x0020 | 0x0040);  /* fields given */
        PutFixed(d, "", 10);              /* type */
        PutFixed(d, w.name, 9);
        PutFixed(d, w.caption, 51);
        Put16(d, unsigned(w.x));
        Put16(d, unsigned(w.y));
        Put16(d, unsigned(w.width));
        Put16(d, unsigned(w.height));
        Put16(d, 0);                      /* maximize */
        Put32(d, 0xFFFFFF);               /* scrolling region colour */
        Put32(d, 0xFFFFFF);               /* non-scrolling region colour */
        record(6, d);
    }
    return s;
}

Bytes BuildFonts()
{
    const char *faces[] = {"Arial"};
    struct { unsigned attributes, halfPoints; } fonts[] = {
        {0x00, 20},                       /* body text, 10 points */
        {0x01, 28},                       /* heading, 14 points bold */
    };
    const unsigned faceSize = 32;
    Bytes f;
    Put16(f, 1);
    Put16(f, 2);
    Put16(f, 8);                          /* face names at */
    Put16(f, 8 + faceSize);               /* descriptors at */
    for (const char *face : faces)
        PutFixed(f, face, faceSize);
    for (const auto &font : fonts) {
        Put8(f, font.attributes);
        Put8(f, font.halfPoints);
        Put8(f, 3);                       /* family: swiss */
        Put16(f, 0);                      /* face name index */
        Put8(f, 0); Put8(f, 0); Put8(f, 0);           /* text colour */
        Put8(f, 0xFF); Put8(f, 0xFF); Put8(f, 0xFF);  /* background */
    }
    return f;
}

Bytes BuildHelpFile(const HelpSource &source)
{
    TopicFile topics = BuildTopicFile(source);

    std::vector<std::pair<int32_t, uint32_t>> contexts;
    std::vector<std::pair<uint32_t, uint32_t>> numbers;
    for (size_t t = 0; t < source.topics.size(); t++) {
        contexts.push_back({ContextHash(source.topics[t].context), topics.topicOffset[t]});
        if (source.topics[t].number >= 0)
            numbers.push_back({uint32_t(source.topics[t].number), topics.topicOffset[t]});
    }
    std::sort(contexts.begin(), contexts.end());
    std::sort(numbers.begin(), numbers.end());
    for (size_t i = 1; i < contexts.size(); i++)
        if (contexts[i].first == contexts[i - 1].first)
            Fail("two topics with the same context hash");
    for (const Topic &t : source.topics)
        for (const Paragraph &p : t.paragraphs)
            for (const Span &s : p.spans)
                if (!s.target.empty() &&
                    std::none_of(source.topics.begin(), source.topics.end(),
                                 [&](const Topic &o) { return o.context == s.target; }))
                    Fail("jump to an unknown topic: " + s.target);

    std::vector<Bytes> entries;
    for (const auto &c : contexts) {
        Bytes e;
        Put32(e, uint32_t(c.first));
        Put32(e, c.second);
        entries.push_back(e);
    }
    Bytes context = BuildBTree("L4", 2048, false, entries);

    Bytes map;
    Put16(map, unsigned(numbers.size()));
    for (const auto &n : numbers) {
        Put32(map, n.first);
        Put32(map, n.second);
    }

    entries.clear();
    for (size_t t = 0; t < source.topics.size(); t++) {
        Bytes e;
        Put32(e, topics.topicOffset[t]);
        PutZ(e, source.topics[t].title);
        entries.push_back(e);
    }
    Bytes titles = BuildBTree("Lz", 2048, false, entries);

    /* Internal files in the directory's (byte) order. */
    std::vector<std::pair<std::string, Bytes>> files = {
        {"|CONTEXT", context},
        {"|CTXOMAP", map},
        {"|FONT", BuildFonts()},
        {"|SYSTEM", BuildSystem(source, topics.topicOffset[0])},
        {"|TOPIC", topics.data},
        {"|TTLBTREE", titles},
    };

    Bytes out(16, 0);
    entries.clear();
    for (const auto &f : files) {
        Bytes e;
        PutZ(e, f.first);
        Put32(e, uint32_t(out.size()));
        entries.push_back(e);
        Put32(out, uint32_t(f.second.size() + 9));   /* reserved */
        Put32(out, uint32_t(f.second.size()));       /* used */
        Put8(out, 4);                                /* flags */
        Append(out, f.second);
    }
    uint32_t directory = uint32_t(out.size());
    Bytes tree = BuildBTree("z4", 1024, true, entries);
    Put32(out, uint32_t(tree.size() + 9));
    Put32(out, uint32_t(tree.size()));
    Put8(out, 4);
    Append(out, tree);

    Bytes header;
    Put32(header, 0x00035F3F);            /* magic */
    Put32(header, directory);
    Put32(header, kNone);                 /* no free blocks */
    Put32(header, uint32_t(out.size()));
    std::copy(header.begin(), header.end(), out.begin());
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3)
        Fail("usage: hlpgen source.txt output.hlp");
    Bytes file = BuildHelpFile(ReadSource(argv[1]));
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char *>(file.data()), std::streamsize(file.size()));
    if (!out)
        Fail(std::string("cannot write ") + argv[2]);
    return 0;
}
