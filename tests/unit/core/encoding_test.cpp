// Encodings of definition files: which one a byte string is, and what it
// becomes in code page 932.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/encoding.h"

TEST(Encoding, DetectedAndConverted) {
    struct {
        std::string bytes;
        TextEncoding encoding;
        std::string ansi;  // the converted text; for EncodingAnsi the bytes themselves
    } cases[] = {
        {"notepad | &Notepad\r\n", EncodingAnsi, ""},
        // Shift-JIS text: lead bytes 81-9F are UTF-8 trail bytes, never a start.
        {"notepad | \x83\x81\x83\x82\x92\xa0(&N)\n%Windows% | \x83\x45\x83\x42\x83\x93\x83h\x83"
         "\x45\x83Y(&W)\n{\x83\x63\x81[\x83\x8b(&T)\n",
         EncodingAnsi, ""},
        {"caf\xe9\n", EncodingAnsi, ""},             // Latin-1
        {"\xc0\x80\n", EncodingAnsi, ""},            // an overlong NUL
        {"\xed\xa0\x80\n", EncodingAnsi, ""},        // a surrogate
        {"\xe3\x83\xa1\xe3\x83", EncodingAnsi, ""},  // cut in a character
        {"\xe3\x83\xa1\xe3\x83\xa2\xe5\xb8\xb3(&N)\n", EncodingUtf8,
         "\x83\x81\x83\x82\x92\xa0(&N)\n"},
        {"\xef\xbb\xbf[launch]\n", EncodingUtf8Bom, "[launch]\n"},
        {"\xef\xbb\xbf\xff\n", EncodingUtf8Bom, "\x1a\n"},  // U+FFFD: no cp932 form
        {std::string("\xff\xfe\xe1\x30\xe2\x30\n\x00", 8), EncodingUtf16Le, "\x83\x81\x83\x82\n"},
        {std::string("\xfe\xff\x30\xe1\x30\xe2\x00\n\x00", 9), EncodingUtf16Be,
         "\x83\x81\x83\x82\n"},                        // the odd last byte is dropped
        {"\xe2\x98\x83x\n", EncodingUtf8, "\x1ax\n"},  // a snowman
        // An emoji: two units, each lost.
        {std::string("\xff\xfe=\xd8\x00\xde\n\x00", 8), EncodingUtf16Le, "\x1a\x1a\n"},
        {"\xff\xfe", EncodingUtf16Le, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(detect_encoding(c.bytes.data(), c.bytes.size()), c.encoding);
        if (c.encoding == EncodingAnsi) continue;
        size_t length = 99;
        char *text = convert_to_ansi(c.bytes.data(), c.bytes.size(), c.encoding, &length);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::string(text, length), c.ansi);
        EXPECT_EQ(text[length], 0);
        free(text);
    }
}
