// The base layer: bounded text helpers, path parts and definition encodings,
// the cases of cases.txt.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/encoding.h"
#include "core/pathparts.h"
#include "core/platform.h"
#include "core/text.h"
#include "core_cases.h"
#include "test_support.h"

namespace {

// The lines a case of cases.txt gives, one for each line of its input (a
// whole input for "encoding").
std::vector<std::string> run(const Case &c) {
    std::vector<std::string> out;
    const std::string &kind = c.head[0];
    if (kind == "encoding") {
        TextEncoding found = detect_encoding(c.input.data(), c.input.size());
        static const char *const names[] = {"ansi", "utf-8", "utf-8-bom", "utf-16le", "utf-16be"};
        out.push_back(names[found]);
        if (found == EncodingAnsi) return out;
        size_t length = 99;
        char *text = convert_to_ansi(c.input.data(), c.input.size(), found, &length);
        out.back() += "|" + std::string(text, length) + (text[length] ? "(no NUL)" : "");
        free(text);
        return out;
    }
    std::istringstream input(c.input);
    for (std::string line; std::getline(input, line);) {
        if (kind == "cut") {
            std::string f, a, b, n;
            size_t size;
            std::istringstream(line) >> f >> size >> a >> b >> n;
            char buffer[5] = "----";
            if (f[0] == 'a' && a != "-") text_copy(buffer, size, a.c_str());
            size_t length = f == "copy"     ? text_copy(buffer, size, a.c_str())
                            : f == "copy_n" ? text_copy_n(buffer, size, a.c_str(), std::stoul(b))
                            : f == "format" ? text_format(buffer, size, "%s", a.c_str())
                            : f == "append" ? text_append(buffer, size, b.c_str())
                                            : text_append_n(buffer, size, b.c_str(), std::stoul(n));
            out.push_back(buffer + ("|" + std::to_string(length)) + (buffer[4] ? "(overrun)" : ""));
        } else if (kind == "shell") {
            char text[4][16];
            for (auto &t : text) text_copy(t, line.c_str());
            text_unquote(text[0]);
            int quoted = text_quote_spaces(text[1], c.number("room", 16));
            text_remove_blanks(text[2]);
            int cut = text_remove_final_backslash(text[3]);
            out.push_back(std::to_string(text_to_int(line.c_str())) + "|" + text[0] + "|" +
                          text[1] + "|" + std::to_string(quoted) + "|" + text[2] + "|" +
                          std::to_string(text_is_blank(line.c_str())) + "|" + text[3] + "|" +
                          std::to_string(cut));
        } else if (kind == "full") {
            char full[260], canonical[260];
            out.push_back(std::string(plat_full_path(line.c_str(), full, 260) ? full : "-") + "|" +
                          (plat_canonicalize(line.c_str(), canonical, 260) ? canonical : "-"));
        } else if (kind == "find") {
            std::string text, piece;
            std::istringstream(line) >> text >> piece;
            if (piece == "-") piece.clear();
            const char *hit = plat_find_ci(text.c_str(), piece.c_str());
            out.push_back(
                (hit ? std::to_string(hit - text.c_str()) : "-") + "|" +
                std::to_string(plat_starts_ci(text.c_str(), piece.c_str(), (int)piece.size())));
        } else if (kind == "path") {
            PathParts parts;
            path_split(line.c_str(), &parts);
            out.push_back(std::string(parts.drive) + "|" + parts.folder + "|" + parts.base + "|" +
                          parts.ext);
        }
    }
    return out;
}

}  // namespace

TEST(Core, Cases) {
    for (const Case &c : read_cases(kCases)) {
        SCOPED_TRACE("cases.txt:" + std::to_string(c.line));
        EXPECT_EQ(run(c), c.expected);
    }
}
