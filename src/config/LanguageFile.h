#pragma once
// Language files: the loader that fills the table of language texts.
//
// A language file is a text file of Windows-1252 characters (or UTF-8 when it starts with a
// UTF-8 byte-order mark). A line ends at CR LF or at a lone CR; a lone LF belongs to the line.
// Lines starting with ";" and lines of nothing but spaces are skipped. Every other line is an
// entry: columns 1 to 3 give the index, column 4 is ignored, column 5 to the end is the text,
// with every "_" turned into a carriage return.
#include <string>
#include <string_view>

#include "config/LangTable.h"

namespace vaultwing {

// Loads the language file at `path` into `table`. Only the indices the file contains are
// overwritten; later entries win over earlier ones. True when the file was read without error
// and entry 0 holds the header afterwards. An empty path, a missing file or a folder give false
// and leave the table as it was. Whatever was stored stays stored either way.
[[nodiscard]] bool LoadLanguageFile(const std::string& path, LangTable& table);

// The English texts built into the program, from the shipped English.lng.
[[nodiscard]] const LangTable& BuiltInEnglish();

// LoadLanguageFile, after which every text but the header that is still empty (no file could be
// loaded, or the file lacks the text) is the built-in English one, so that no message is blank.
bool LoadLanguage(const std::string& path, LangTable& table);

// The loader without the file: parses the whole contents of a language file into `table`.
// Returns false when a step failed (an entry whose index lies outside 0..999, a line of a UTF-8
// file that is not valid UTF-8); such a line is skipped and the rest is still read.
bool ParseLanguageFile(std::string_view contents, LangTable& table);

// The leading number of `text`: leading spaces are skipped and reading stops at the first
// character that cannot continue a number (a sign, digits, a decimal point, an exponent).
// No number gives 0.
[[nodiscard]] double LeadingNumber(std::string_view text);

} // namespace vaultwing
