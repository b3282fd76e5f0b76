#pragma once
// The settings files as people write them, with the value the program reads from each. Shared by
// the tests of the INI reader and of the Windows profile functions, which must agree with it.
#include <string>
#include <vector>

namespace vaultwing::test {

struct IniReadCase {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    std::string expected;
};

inline std::vector<IniReadCase> IniReadCases() {
    using namespace std::string_literals;
    using ReadCase = IniReadCase;
    const std::string k300(300, 'a');
    return {
        ReadCase{"NamesIgnoreCase", "[einstellungen]\r\nSPRACHE=Deutsch\r\n", "Einstellungen", "Sprache", "Deutsch"},
        ReadCase{"HandWrittenLowerKey", "[Einstellungen]\r\ndelete=1\r\n", "Einstellungen", "Delete", "1"},
        ReadCase{"MissingFileContent", "", "Einstellungen", "Delete", ""},
        ReadCase{"MissingSection", "[Andere]\r\nDelete=1\r\n", "Einstellungen", "Delete", ""},
        ReadCase{"MissingKey", "[Einstellungen]\r\nPfad=1\r\n", "Einstellungen", "Delete", ""},
        ReadCase{"KeyOfOtherSection", "[A]\r\nK=1\r\n[B]\r\nX=2\r\n", "B", "K", ""},
        ReadCase{"KeyBeforeAnySection", "K=1\r\n[A]\r\n", "A", "K", ""},
        ReadCase{"EmptyKey", "[A]\r\n=x\r\n", "A", "", ""},
        ReadCase{"EmptySection", "[]\r\nK=1\r\n", "", "K", ""},
        ReadCase{"BlanksAroundEverything", "  [ A ]  \r\n \t K \t=  v w \t\r\n", "A", "K", "v w"},
        ReadCase{"BlanksAroundArguments", "[A]\r\nK=v\r\n", " A ", "\tK ", "v"},
        ReadCase{"DoubleQuotes", "[A]\r\nK=\" C:\\x y \"\r\n", "A", "K", " C:\\x y "},
        ReadCase{"SingleQuotes", "[A]\r\nK='v'\r\n", "A", "K", "v"},
        ReadCase{"QuotesOutsideBlanks", "[A]\r\nK=  \"v\"  \r\n", "A", "K", "v"},
        ReadCase{"MismatchedQuotes", "[A]\r\nK=\"v'\r\n", "A", "K", "\"v'"},
        ReadCase{"LoneQuote", "[A]\r\nK=\"\r\n", "A", "K", "\""},
        ReadCase{"EmptyQuotes", "[A]\r\nK=\"\"\r\n", "A", "K", ""},
        ReadCase{"QuoteOnlyAtStart", "[A]\r\nK=\"v\r\n", "A", "K", "\"v"},
        ReadCase{"DuplicateKeyFirstWins", "[A]\r\nK=1\r\nk=2\r\n", "A", "K", "1"},
        ReadCase{"DuplicateSectionFirstCounts", "[A]\r\nX=1\r\n[B]\r\n[a]\r\nK=2\r\n", "A", "K", ""},
        ReadCase{"ValueWithEquals", "[A]\r\nK=a=b\r\n", "A", "K", "a=b"},
        ReadCase{"EmptyValue", "[A]\r\nK=\r\n", "A", "K", ""},
        ReadCase{"KeyWithoutEquals", "[A]\r\nK\r\n", "A", "K", ""},
        ReadCase{"CommentIsNoKey", "[A]\r\n;K=x\r\nK=y\r\n", "A", "K", "y"},
        ReadCase{"CommentBehindHeader", "[A] ; settings\r\nK=v\r\n", "A", "K", "v"},
        ReadCase{"UnclosedHeaderIsNoSection", "[A]\r\nK=1\r\n[B\r\nK=2\r\n", "A", "K", "1"},
        ReadCase{"LineFeedsOnly", "[A]\nK=v\n", "A", "K", "v"},
        ReadCase{"NoFinalLineEnd", "[A]\r\nK=v", "A", "K", "v"},
        ReadCase{"ByteOrderMark", "\xEF\xBB\xBF[A]\r\nK=v\r\n", "A", "K", "v"},
        ReadCase{"Cut300To254", "[A]\r\nK=" + k300 + "\r\n", "A", "K", std::string(254, 'a')},
        ReadCase{"CutAfterUnquoting", "[A]\r\nK=\"" + k300 + "\"\r\n", "A", "K", std::string(254, 'a')},
        ReadCase{"Exactly254Kept", "[A]\r\nK=" + std::string(254, 'b'), "A", "K", std::string(254, 'b')},
        ReadCase{"Utf8BytesAsGiven", "[A]\r\nPfad=/home/j\xC3\xBCrgen\r\n", "A", "Pfad", "/home/j\xC3\xBCrgen"},
        ReadCase{"NulInValueKept", "[A]\r\nK=a\0b\r\n"s, "A", "K", "a\0b"s}};
}

} // namespace vaultwing::test
