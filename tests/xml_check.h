// Whether a text is well-formed XML as the tool writes it: one root element,
// every element closed in order, attributes quoted, only the five named
// entities and numeric ones. No DTDs, comments or CDATA are expected.
#pragma once

#include <cctype>
#include <string>
#include <vector>

// Empty when well formed; otherwise what is wrong and where.
inline std::string xmlProblem(const std::string& xml) {
    std::vector<std::string> open;
    std::size_t i = 0, roots = 0;
    auto fail = [&](const std::string& what) { return what + " at byte " + std::to_string(i); };
    auto name = [&]() {
        const std::size_t from = i;
        while (i < xml.size() && (std::isalnum(static_cast<unsigned char>(xml[i])) || xml[i] == '-' || xml[i] == ':' ||
                                  xml[i] == '_' || xml[i] == '.'))
            ++i;
        return xml.substr(from, i - from);
    };
    auto entity = [&]() {
        const std::size_t end = xml.find(';', i);
        if (end == std::string::npos) return false;
        const std::string e = xml.substr(i + 1, end - i - 1);
        const bool known = e == "amp" || e == "lt" || e == "gt" || e == "quot" || e == "apos" ||
                           (e.size() > 1 && e[0] == '#' && e.find_first_not_of("0123456789", 1) == std::string::npos);
        i = end + 1;
        return known;
    };
    if (xml.compare(0, 5, "<?xml") == 0) i = xml.find("?>") + 2;
    while (i < xml.size()) {
        if (xml[i] == '<') {
            ++i;
            if (i < xml.size() && xml[i] == '/') {
                ++i;
                const std::string closing = name();
                if (open.empty() || open.back() != closing) return fail("</" + closing + "> closes nothing open");
                open.pop_back();
                if (i >= xml.size() || xml[i] != '>') return fail("bad end tag");
                ++i;
                continue;
            }
            const std::string element = name();
            if (element.empty()) return fail("a tag without a name");
            if (open.empty() && ++roots > 1) return fail("a second root element");
            while (true) {
                while (i < xml.size() && std::isspace(static_cast<unsigned char>(xml[i]))) ++i;
                if (i >= xml.size()) return fail("unended tag <" + element);
                if (xml[i] == '>') {
                    open.push_back(element);
                    ++i;
                    break;
                }
                if (xml.compare(i, 2, "/>") == 0) {
                    i += 2;
                    break;
                }
                if (name().empty() || i >= xml.size() || xml[i] != '=') return fail("bad attribute in <" + element);
                ++i;
                const char quote = i < xml.size() ? xml[i] : '\0';
                if (quote != '"' && quote != '\'') return fail("unquoted attribute in <" + element);
                for (++i; i < xml.size() && xml[i] != quote; ++i) {
                    if (xml[i] == '<') return fail("< in an attribute");
                    if (xml[i] == '&' && !entity()) return fail("unknown entity");
                    if (xml[i] == quote) break;
                }
                if (i >= xml.size()) return fail("unended attribute");
                ++i;
            }
        } else if (xml[i] == '&') {
            if (!entity()) return fail("unknown entity");
        } else {
            if (open.empty() && !std::isspace(static_cast<unsigned char>(xml[i]))) return fail("text outside the root");
            ++i;
        }
    }
    if (!open.empty()) return "<" + open.back() + "> is never closed";
    return roots == 1 ? "" : "no root element";
}
