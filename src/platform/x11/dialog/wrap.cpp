// Word wrapping of message box text.
#include "platform/x11/dialog/dialog.h"

namespace zn::x11 {

namespace {

using Measure = std::function<int(const std::string&)>;

// The longest prefix of word that fits, at least one character so that wrapping advances.
size_t fittingPrefix(const std::string& word, int maxWidth, const Measure& width) {
    size_t length = 1;
    while (length < word.size() && width(word.substr(0, length + 1)) <= maxWidth)
        ++length;
    return length;
}

void wrapParagraph(const std::string& paragraph, int maxWidth, const Measure& width,
                   std::vector<std::string>& lines) {
    std::string line;
    size_t at = 0;
    while (at < paragraph.size()) {
        const size_t blank = paragraph.find(' ', at);
        std::string word = paragraph.substr(at, blank == std::string::npos ? blank : blank - at);
        at = blank == std::string::npos ? paragraph.size() : blank + 1;
        const std::string joined = line.empty() ? word : line + " " + word;
        if (width(joined) <= maxWidth) {
            line = joined;
            continue;
        }
        if (!line.empty())
            lines.push_back(line);
        while (word.size() > 1 && width(word) > maxWidth) {
            const size_t cut = fittingPrefix(word, maxWidth, width);
            lines.push_back(word.substr(0, cut));
            word.erase(0, cut);
        }
        line = word;
    }
    lines.push_back(line);
}

} // namespace

std::vector<std::string> wrapMessage(const std::string& text, int maxWidth,
                                     const std::function<int(const std::string&)>& width) {
    std::string body = text;
    for (char& c : body)
        if (c == '\t')
            c = ' ';
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r'))
        body.pop_back();
    std::vector<std::string> lines;
    size_t at = 0;
    for (;;) {
        const size_t end = body.find('\n', at);
        std::string paragraph = body.substr(at, end == std::string::npos ? end : end - at);
        if (!paragraph.empty() && paragraph.back() == '\r')
            paragraph.pop_back();
        wrapParagraph(paragraph, maxWidth, width, lines);
        if (end == std::string::npos)
            return lines;
        at = end + 1;
    }
}

} // namespace zn::x11
